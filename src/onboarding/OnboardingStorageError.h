#pragma once
// How onboarding ends when storage will not keep what it must: a reset
// after which the onboarding's secure store or "onboarded" is still there,
// or a finished onboarding whose "onboarded" (or scanned connection
// settings) cannot be written and read back (a full disk, a read-only
// folder, a file the application may not remove). It names what is left or
// unsaved; the storage's own error (errno) is in the log line of the call
// that failed.

#include <string>

#include "platform/flows/Error.h"

namespace trc::onboarding {

class OnboardingStorageError : public flows::Error {
public:
    enum class Case {
        // subject: the things the reset could not remove.
        notReset,
        // subject: the things that could not be saved.
        notSaved,
    };

    static constexpr const char* kDomain = "Onboarding.OnboardingStorageError";

    OnboardingStorageError(Case c, std::string what) : case_(c), what_(std::move(what)) {}

    Case errorCase() const { return case_; }
    const std::string& subject() const { return what_; }
    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override {
        return case_ == Case::notReset ? "The onboarding could not be reset: it left " + what_ + "."
                                       : "The onboarding could not be saved: " + what_ + " cannot be written.";
    }
    flows::ErrorPtr clone() const override { return std::make_shared<OnboardingStorageError>(*this); }

private:
    Case case_;
    std::string what_;
};

}  // namespace trc::onboarding
