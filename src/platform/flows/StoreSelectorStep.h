#pragma once
// A step that stands for the store step it wraps (step): the onboarding
// roads look through it to tell which store a flow uses. Every call goes to
// the wrapped step.

#include <memory>

#include "platform/flows/StoreManagerStep.h"

namespace trc::flows {

class StoreSelectorStep : public OnboardingStep {
public:
    explicit StoreSelectorStep(std::shared_ptr<StoreManagerStep> step) : step(std::move(step)) {}

    const std::shared_ptr<StoreManagerStep> step;

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override;
    void reset(const OnboardingContext& context, ResetCompletion completion) override;
};

}  // namespace trc::flows
