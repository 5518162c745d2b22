#pragma once
// A step made of handlers: one flow handler for both onboard and restore (or
// one of each) and a reset handler. The default reset handler does nothing
// but complete. Handlers get the context and the step's completion and must
// call it exactly once.

#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class SimpleTaskStep : public OnboardingStep {
public:
    using FlowHandler = std::function<void(const OnboardingContext&, Completion)>;
    using ResetHandler = std::function<void(const OnboardingContext&, ResetCompletion)>;

    explicit SimpleTaskStep(FlowHandler flowHandler, ResetHandler resetHandler = defaultResetHandler);
    SimpleTaskStep(FlowHandler onboardHandler, FlowHandler restoreHandler, ResetHandler resetHandler);

    static void defaultResetHandler(const OnboardingContext& context, ResetCompletion completion);

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override;
    void reset(const OnboardingContext& context, ResetCompletion completion) override;

private:
    FlowHandler onboardHandler_;
    FlowHandler restoreHandler_;
    ResetHandler resetHandler_;
};

}  // namespace trc::flows
