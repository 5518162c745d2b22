#include "onboarding/NetworkCheckStep.h"

namespace trc::onboarding {

NetworkCheckStep::NetworkCheckStep()
    : flows::SimpleTaskStep([](const flows::OnboardingContext& context, Completion completion) {
          completion(flows::OnboardingResult::success(context));
      }) {}

}  // namespace trc::onboarding
