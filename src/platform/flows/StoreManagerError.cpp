#include "platform/flows/StoreManagerError.h"

namespace trc::flows {

std::string StoreManagerError::description() const {
    std::string text;
    switch (case_) {
    case Case::passcodeRetryLimitReached: text = "The passcode retry limit has been reached."; break;
    case Case::resetPasscode: text = "The passcode has to be reset."; break;
    case Case::skipPasscodeSetup: text = "The passcode setup was skipped."; break;
    case Case::cancelPasscodeEntry: text = "The passcode entry was cancelled."; break;
    case Case::wrongPasscode:
        text = "The passcode is not correct. Attempts left: " + std::to_string(remainingAttempts_) + ".";
        break;
    case Case::passcodeRejected: text = "The passcode does not meet the passcode policy."; break;
    case Case::storeCorrupted: text = "The secure store is damaged and cannot be opened."; break;
    case Case::storeNotFound: text = "There is no secure store for this onboarding."; break;
    case Case::storeUnavailable: text = "The secure store cannot be read or written."; break;
    }
    if (!detail_.empty()) text += " " + detail_;
    return text;
}

ErrorPtr StoreManagerError::clone() const { return std::make_shared<StoreManagerError>(*this); }

}  // namespace trc::flows
