#include "platform/flows/SimpleTaskStep.h"

namespace trc::flows {

SimpleTaskStep::SimpleTaskStep(FlowHandler flowHandler, ResetHandler resetHandler)
    : onboardHandler_(flowHandler), restoreHandler_(std::move(flowHandler)), resetHandler_(std::move(resetHandler)) {}

SimpleTaskStep::SimpleTaskStep(FlowHandler onboardHandler, FlowHandler restoreHandler, ResetHandler resetHandler)
    : onboardHandler_(std::move(onboardHandler)),
      restoreHandler_(std::move(restoreHandler)),
      resetHandler_(std::move(resetHandler)) {}

void SimpleTaskStep::defaultResetHandler(const OnboardingContext&, ResetCompletion completion) {
    if (completion) completion();
}

void SimpleTaskStep::onboard(const OnboardingContext& context, Completion completion) {
    if (!onboardHandler_) {
        completion(OnboardingResult::success(context));
        return;
    }
    onboardHandler_(context, std::move(completion));
}

void SimpleTaskStep::restore(const OnboardingContext& context, Completion completion) {
    if (!restoreHandler_) {
        completion(OnboardingResult::success(context));
        return;
    }
    restoreHandler_(context, std::move(completion));
}

void SimpleTaskStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    if (!resetHandler_) {
        defaultResetHandler(context, std::move(completion));
        return;
    }
    resetHandler_(context, std::move(completion));
}

}  // namespace trc::flows
