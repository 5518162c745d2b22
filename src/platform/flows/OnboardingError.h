#pragma once
// The errors a flow step ends with when the flow itself cannot go on: the
// person cancelled a screen (with the error that caused it, if any),
// authentication failed (three optional texts and the inner error, the
// fourth value, which the restore road inspects for connection failures), or
// a step lacks an argument it needs (which argument, which step).
//
// The cancelled case reads "The flow got cancelled." so that callers that
// look for that phrase in the lower-cased localized description find it.

#include <array>
#include <optional>
#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class OnboardingError : public Error {
public:
    enum class Case { cancelled, authenticationFailed, missingArgument };

    static constexpr const char* kDomain = "ZELVessaFlows.OnboardingError";
    static constexpr const char* kCancelledText = "The flow got cancelled.";

    static OnboardingError cancelled(ErrorPtr inner = nullptr);
    static OnboardingError authenticationFailed(std::optional<std::string> first, std::optional<std::string> second,
                                                std::optional<std::string> third, ErrorPtr inner);
    static OnboardingError missingArgument(std::string argument, std::string source);

    Case errorCase() const { return case_; }
    // cancelled: the cause; authenticationFailed: the fourth value.
    const ErrorPtr& innerError() const { return inner_; }
    const std::optional<std::string>& text(int index) const { return texts_.at(static_cast<std::size_t>(index)); }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override;
    ErrorPtr clone() const override;

private:
    explicit OnboardingError(Case c) : case_(c) {}
    Case case_;
    ErrorPtr inner_;
    std::array<std::optional<std::string>, 3> texts_{};
};

}  // namespace trc::flows
