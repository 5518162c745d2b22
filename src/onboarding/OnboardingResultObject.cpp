#include "onboarding/OnboardingResultObject.h"

namespace trc::onboarding {

const core::ClassInfo& OnboardingResultObject::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<OnboardingResultObject>("OnboardingResult", core::Object::classInfo()).build();
    return info;
}

}  // namespace trc::onboarding
