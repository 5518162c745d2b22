#pragma once
// How a step or a flow ends: success with the context for what comes next,
// or failure with an error.

#include <variant>

#include "platform/flows/Error.h"
#include "platform/flows/OnboardingContext.h"

namespace trc::flows {

class OnboardingResult {
public:
    static OnboardingResult success(OnboardingContext context) { return OnboardingResult(std::move(context)); }
    static OnboardingResult failed(ErrorPtr error) { return OnboardingResult(std::move(error)); }
    template <class E>
    requires std::is_base_of_v<Error, E>
    static OnboardingResult failed(const E& error) { return OnboardingResult(error.clone()); }

    bool isSuccess() const { return std::holds_alternative<OnboardingContext>(v_); }
    // The context of a success; nullptr for a failure.
    const OnboardingContext* context() const { return std::get_if<OnboardingContext>(&v_); }
    // The error of a failure; null for a success.
    ErrorPtr error() const {
        auto e = std::get_if<ErrorPtr>(&v_);
        return e ? *e : nullptr;
    }

private:
    explicit OnboardingResult(OnboardingContext c) : v_(std::move(c)) {}
    explicit OnboardingResult(ErrorPtr e) : v_(std::move(e)) {}
    std::variant<OnboardingContext, ErrorPtr> v_;
};

}  // namespace trc::flows
