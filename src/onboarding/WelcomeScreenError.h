#pragma once
// How the welcome step ends when the person chooses the demo: as a failure
// of the flow with this error, which the onboarding controller turns into
// demo mode. Its only case is demoModeRequested.

#include "platform/flows/Error.h"

namespace trc::onboarding {

class WelcomeScreenError : public flows::Error {
public:
    enum class Case { demoModeRequested };

    static constexpr const char* kDomain = "Onboarding.WelcomeScreenError";

    explicit WelcomeScreenError(Case c = Case::demoModeRequested) : case_(c) {}

    Case errorCase() const { return case_; }
    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override { return "WelcomeScreenError.demoModeRequested"; }
    flows::ErrorPtr clone() const override { return std::make_shared<WelcomeScreenError>(*this); }

    friend bool operator==(const WelcomeScreenError& a, const WelcomeScreenError& b) { return a.case_ == b.case_; }

private:
    Case case_;
};

}  // namespace trc::onboarding
