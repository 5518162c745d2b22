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
//
// The settings change through their setters only: a formatter remembers
// where its settings are kept and compares its locale, time zone and pattern
// again only after one of them changed, so a row that formats with them
// unchanged compares its styles alone.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Value.h"
#include "platform/foundation/Locale.h"

namespace trc::foundation {

namespace internal {
class KeptDateFormats;
}  // namespace internal

class DateFormatter {
public:
    enum class Style { None = 0, Short = 1, Medium = 2, Long = 3, Full = 4 };

    const Locale& locale() const { return locale_; }
    void setLocale(const Locale& locale) {
        if (locale_ == locale) return;
        locale_ = locale;
        textSettingsDidChange();
    }
    Style dateStyle() const { return dateStyle_; }
    void setDateStyle(Style style) { dateStyle_ = style; }
    Style timeStyle() const { return timeStyle_; }
    void setTimeStyle(Style style) { timeStyle_ = style; }
    const std::string& timeZone() const { return timeZone_; }
    void setTimeZone(std::string_view zone) {
        if (timeZone_ == zone) return;
        timeZone_.assign(zone.data(), zone.size());
        textSettingsDidChange();
    }
    const std::string& dateFormat() const { return dateFormat_; }
    void setDateFormat(std::string_view pattern) {
        if (dateFormat_ == pattern) return;
        dateFormat_.assign(pattern.data(), pattern.size());
        textSettingsDidChange();
    }

    std::string string(core::Date date) const;
    // The same text written into text, in the room it has.
    void format(core::Date date, std::string& text) const;

private:
    friend class internal::KeptDateFormats;

    void textSettingsDidChange() { keptMark_ = 0; }

    Locale locale_ = Locale::current();
    Style dateStyle_ = Style::None;
    Style timeStyle_ = Style::None;
    std::string timeZone_ = "UTC";
    std::string dateFormat_;
    // Where these settings were last found kept (KeptDateFormats reads and
    // writes it, atomically, as threads may format with one formatter at
    // once); 0 until found, and after a change of locale, time zone or pattern.
    alignas(std::atomic_ref<std::uint64_t>::required_alignment) mutable std::uint64_t keptMark_ = 0;
};

const char* dateFormatterStyleName(DateFormatter::Style style);

}  // namespace trc::foundation
