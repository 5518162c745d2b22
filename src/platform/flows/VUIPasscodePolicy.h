#pragma once
// The rules a passcode must follow, as the mobile-services settings give
// them: whether a passcode is needed at all, its least length, digits only or
// not, how many wrong entries are allowed before the store is locked for
// good, and whether biometric unlock may be offered. Without settings from
// the server the default applies: eight or more digits, ten attempts.

#include <string_view>

namespace trc::flows {

class VUIPasscodePolicy {
public:
    bool isEnabled = true;
    int minLength = 8;
    bool isDigitsOnly = true;
    int retryLimit = 10;
    bool allowsBiometric = false;

    bool accepts(std::string_view passcode) const;

    friend bool operator==(const VUIPasscodePolicy&, const VUIPasscodePolicy&) = default;
};

}  // namespace trc::flows
