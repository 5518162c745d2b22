#include "onboarding/OnboardingCustomizationBridge.h"

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/ClassInfo.h"

namespace trc::onboarding {

const core::ClassInfo& OnboardingCustomizationBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<OnboardingCustomizationBridge>("OnboardingCustomizationBridge", core::Object::classInfo())
            .constructible()
            .classMethod(kConfigSelector,
                         [](core::Args args) {
                             config(args[0]);
                             return core::Value();
                         })
            .build();
    return info;
}

void OnboardingCustomizationBridge::config(const core::Value& hostTexts) {
    OnboardingCustomization::classInfo().performClassMethod(OnboardingCustomization::kUpdateSelector,
                                                            core::Args(&hostTexts, 1));
}

}  // namespace trc::onboarding
