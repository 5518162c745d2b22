#pragma once
// Runs a flow: a list of steps in order, each step given the context the one
// before it completed with. The first failure ends the flow. The completion
// runs exactly once, on the main queue and never inside the call (also for an
// empty list), even when a step calls its own completion twice or throws.
//
// Reset calls every step's reset in list order with the same context and
// completes once when all are done.

#include <functional>
#include <memory>
#include <vector>

#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class OnboardingFlowController {
public:
    using Steps = std::vector<std::shared_ptr<OnboardingStep>>;

    // shouldResetOnError: after a failure, reset every step before completing.
    static void onboard(const Steps& steps, const OnboardingContext& context, bool shouldResetOnError,
                        OnboardingStep::Completion completion);
    static void restore(const Steps& steps, const OnboardingContext& context, OnboardingStep::Completion completion);
    static void reset(const Steps& steps, const OnboardingContext& context, OnboardingStep::ResetCompletion completion);
};

}  // namespace trc::flows
