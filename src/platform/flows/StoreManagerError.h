#pragma once
// The errors of the store manager and its encrypted store. The first four are
// the ends of passcode screens the onboarding roads tell apart; the others
// say what went wrong with the store itself. None of them ever carries a
// passcode or a key.

#include <string>
#include <system_error>

#include "platform/flows/Error.h"

namespace trc::flows {

class StoreManagerError : public Error {
public:
    enum class Case {
        passcodeRetryLimitReached,
        resetPasscode,
        skipPasscodeSetup,
        cancelPasscodeEntry,
        // A passcode that does not open the store; remainingAttempts() tells
        // how many are left before the retry limit.
        wrongPasscode,
        // A passcode that the passcode policy does not accept.
        passcodeRejected,
        // The store file is truncated, tampered with or not a store at all.
        storeCorrupted,
        storeNotFound,
        // Reading or writing the store failed: the detail names the file and
        // systemError() gives the errno (EACCES, EIO, EISDIR, ENOSPC, ...).
        storeUnavailable,
    };

    static constexpr const char* kDomain = "ZELVessaFlows.StoreManagerError";

    explicit StoreManagerError(Case c, std::string detail = {}, int remainingAttempts = 0)
        : case_(c), detail_(std::move(detail)), remainingAttempts_(remainingAttempts) {}
    StoreManagerError(Case c, std::string detail, std::error_code systemError)
        : case_(c), detail_(std::move(detail)), remainingAttempts_(0), systemError_(systemError) {}

    Case errorCase() const { return case_; }
    int remainingAttempts() const { return remainingAttempts_; }
    const std::error_code& systemError() const { return systemError_; }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override;
    ErrorPtr clone() const override;

private:
    Case case_;
    std::string detail_;
    int remainingAttempts_;
    std::error_code systemError_;
};

}  // namespace trc::flows
