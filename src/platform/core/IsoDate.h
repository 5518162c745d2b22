#pragma once
// ISO-8601 date texts in UTC, as the host's date values are written:
// "2026-01-31T10:00:00Z", with ".SSS" fractional seconds when there are any.
// Parsing also takes a numeric offset ("+02:00", "+0200").

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::core {

class IsoDate {
public:
    // "invalid-date" for a date that is not representable.
    static std::string format(Date date);
    // Whether the date has a text (years 0000 to 9999) that parse reads back.
    static bool isRepresentable(Date date);
    // Nothing for a text that is not such a date, or whose date (after its
    // offset) is not representable.
    static std::optional<Date> parse(std::string_view text);
};

}  // namespace trc::core
