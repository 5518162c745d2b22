#include "onboarding/LaunchEULAStep.h"

#include "onboarding/OnboardingController.h"

namespace trc::onboarding {

LaunchEULAStep::LaunchEULAStep(flows::EULAContent content) : flows::EULAStep(std::move(content)) {}

void LaunchEULAStep::eulaAccepted(flows::VUIEULAViewController& screen) {
    OnboardingController::sharedInstance()->eulaAccepted = true;
    flows::EULAStep::eulaAccepted(screen);
}

}  // namespace trc::onboarding
