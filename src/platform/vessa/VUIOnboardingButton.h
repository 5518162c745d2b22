#pragma once
// The large call-to-action button of the onboarding screens (start, demo).
// A VUIButton with its own style class; main thread only.

#include "platform/vessa/VUIButton.h"

namespace trc::vessa {

class VUIOnboardingButton : public VUIButton {
    TRC_OBJECT(VUIOnboardingButton)
public:
    VUIOnboardingButton();
};

}  // namespace trc::vessa
