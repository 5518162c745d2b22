#pragma once
// Dates as text for people, in a locale, with a date style and a time style
// (none, short, medium, long, full), on ICU. The time zone defaults to UTC
// so that text is the same on every machine; set another by its identifier.
// With both styles none the text is empty, as on the platform. A date format
// pattern (Unicode date field symbols, "yyyy-MM-dd HH:mm"), when set, wins
// over the styles; a pattern ICU refuses, or a locale identifier that makes
// no valid locale (Locale::isValidIdentifier), gives empty text. Formatters of
// the same settings share one ICU formatter (the latest few settings are
// kept for each thread, without a lock), so making a DateFormatter for every row
// costs nothing beyond the text; each keeps the texts of the dates it
// showed (the latest 8192), so a date shown again is not formatted anew. Shared by
// reference between the views that show with it; main thread only.

#include <string>

#include "platform/core/Value.h"
#include "platform/foundation/Locale.h"

namespace trc::foundation {

class DateFormatter {
public:
    enum class Style { None = 0, Short = 1, Medium = 2, Long = 3, Full = 4 };

    Locale locale = Locale::current();
    Style dateStyle = Style::None;
    Style timeStyle = Style::None;
    std::string timeZone = "UTC";
    std::string dateFormat;

    std::string string(core::Date date) const;
    // The same text written into text, in the room it has.
    void format(core::Date date, std::string& text) const;
};

const char* dateFormatterStyleName(DateFormatter::Style style);

}  // namespace trc::foundation
