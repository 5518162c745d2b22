#include "platform/foundation/DateFormatter.h"

#include <memory>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace trc::foundation {

namespace {

icu::DateFormat::EStyle icuStyle(DateFormatter::Style style) {
    switch (style) {
        case DateFormatter::Style::None: return icu::DateFormat::kNone;
        case DateFormatter::Style::Short: return icu::DateFormat::kShort;
        case DateFormatter::Style::Medium: return icu::DateFormat::kMedium;
        case DateFormatter::Style::Long: return icu::DateFormat::kLong;
        case DateFormatter::Style::Full: return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

}  // namespace

const char* dateFormatterStyleName(DateFormatter::Style style) {
    switch (style) {
        case DateFormatter::Style::None: return "none";
        case DateFormatter::Style::Short: return "short";
        case DateFormatter::Style::Medium: return "medium";
        case DateFormatter::Style::Long: return "long";
        case DateFormatter::Style::Full: return "full";
    }
    return "none";
}

std::string DateFormatter::string(core::Date date) const {
    icu::Locale icuLocale(locale.identifier().c_str());
    std::unique_ptr<icu::DateFormat> format;
    if (!dateFormat.empty()) {
        UErrorCode status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(dateFormat), icuLocale, status);
        if (U_FAILURE(status)) return {};
    } else {
        if (dateStyle == Style::None && timeStyle == Style::None) return {};
        format.reset(icu::DateFormat::createDateTimeInstance(icuStyle(dateStyle), icuStyle(timeStyle), icuLocale));
    }
    if (!format) return {};
    format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
    icu::UnicodeString text;
    format->format(static_cast<UDate>(date.secondsSince1970 * 1000.0), text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace trc::foundation
