#include "platform/flows/VUIPasscodePolicy.h"

#include <algorithm>

namespace trc::flows {

bool VUIPasscodePolicy::accepts(std::string_view passcode) const {
    if (passcode.size() < static_cast<std::size_t>(std::max(minLength, 1))) return false;
    if (isDigitsOnly) return std::all_of(passcode.begin(), passcode.end(), [](char c) { return c >= '0' && c <= '9'; });
    return true;
}

}  // namespace trc::flows
