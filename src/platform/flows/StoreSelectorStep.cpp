#include "platform/flows/StoreSelectorStep.h"

#include "platform/flows/OnboardingError.h"

namespace trc::flows {

namespace {
OnboardingResult missingStep() {
    return OnboardingResult::failed(OnboardingError::missingArgument("step", "StoreSelectorStep"));
}
}  // namespace

void StoreSelectorStep::onboard(const OnboardingContext& context, Completion completion) {
    if (!step) return completion(missingStep());
    step->onboard(context, std::move(completion));
}

void StoreSelectorStep::restore(const OnboardingContext& context, Completion completion) {
    if (!step) return completion(missingStep());
    step->restore(context, std::move(completion));
}

void StoreSelectorStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    if (!step) return completion();
    step->reset(context, std::move(completion));
}

}  // namespace trc::flows
