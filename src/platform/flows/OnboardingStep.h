#pragma once
// One step of an onboarding flow. A flow calls onboard the first time, restore
// when the client is onboarded already, and reset to undo what the step left
// behind. Each call ends by calling its completion exactly once, on the main
// thread, usually later: onboard and restore with a result (success carries
// the context for the next step), reset without argument.
//
// Steps are held by std::shared_ptr: one step object may stand in more than
// one flow list. A step that waits for something keeps only weak references
// to itself in its handlers.

#include <functional>
#include <memory>

#include "platform/flows/OnboardingResult.h"

namespace trc::flows {

class OnboardingStep : public std::enable_shared_from_this<OnboardingStep> {
public:
    using Completion = std::function<void(OnboardingResult)>;
    using ResetCompletion = std::function<void()>;

    virtual ~OnboardingStep() = default;

    virtual void onboard(const OnboardingContext& context, Completion completion) = 0;
    virtual void restore(const OnboardingContext& context, Completion completion) = 0;
    virtual void reset(const OnboardingContext& context, ResetCompletion completion) = 0;

protected:
    template <class T>
    std::weak_ptr<T> weakSelf() {
        return std::static_pointer_cast<T>(shared_from_this());
    }
};

}  // namespace trc::flows
