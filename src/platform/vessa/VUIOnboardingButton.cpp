#include "platform/vessa/VUIOnboardingButton.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIOnboardingButton::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIOnboardingButton>("VUIOnboardingButton", VUIButton::classInfo()).constructible().build();
    return info;
}

VUIOnboardingButton::VUIOnboardingButton() { nuiClass = "VUIOnboardingButton"; }

}  // namespace trc::vessa
