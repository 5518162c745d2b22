#pragma once
// How a number the host sends becomes a row, a section or a count. The host
// counts in 64 bits and may send a double where it means an integer; the
// library addresses rows and sections with 32-bit ints. Narrowing silently
// would let 2^32 + 1 address row 1, and 1.5 address row 1, so both are
// refused here, once, for every entry that takes such a number (the form
// bridge, the form's own selectors, the form cell section's selectors).
//
// Counts the host announces (a form's sections and rows per section) decide
// how much the library builds up front, so they are capped: a count above
// kCountCap is refused and the caller keeps what it had.
//
// Every refusal is a "warn" line under "ZEL.TRC" naming the entry, so a host
// developer sees why nothing happened. Stateless; any thread.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::services {

class HostNumber {
public:
    // The most sections, or rows of one section, a form may announce.
    static constexpr std::int64_t kCountCap = 100000;

    // A row or section number (what names it, e.g. "row", for the log): an
    // integer, or a double without fraction. A number that is no integer
    // (1.5, NaN, a boolean) is refused; one beyond 32 bits names no row or
    // section there can be, and is refused too.
    static std::optional<int> rowOrSection(const core::Value& value, std::string_view entry, std::string_view what);

    // An announced count: an integer not above kCountCap and not below the
    // 32-bit range (a negative count places no cell, as the host asked).
    static std::optional<int> count(const core::Value& value, std::string_view entry, std::string_view what);

    // Logs a refused host number.
    static void refuse(std::string_view entry, std::string_view why);
};

}  // namespace trc::services
