#include "platform/foundation/DateFormatter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

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

// ICU formatters are costly to make (tens of microseconds) and a date row
// makes a DateFormatter each time it is built, so the formatters of the
// latest settings are kept. A failed make is kept
// too (as null), so a bad pattern is not tried again on every row.
struct KeptFormat {
    std::string locale;
    DateFormatter::Style dateStyle;
    DateFormatter::Style timeStyle;
    std::string timeZone;
    std::string pattern;
    std::unique_ptr<icu::DateFormat> format;
    // The texts of the dates shown, by date: the rows of a long form
    // scrolled back into view and a person going back and forth between
    // dates show them without formatting anew. Past kKeptTexts dates the
    // one kept longest makes way (order holds the dates in the order they
    // came, the oldest at next).
    std::unordered_map<double, std::string> texts;
    std::vector<double> order;
    std::size_t next = 0;
    // When it was used last: past kKeptFormats the one unused longest makes way.
    std::uint64_t lastUse = 0;
};
constexpr std::size_t kKeptFormats = 16;
constexpr std::size_t kKeptTexts = 8192;

// The text of the date, formatted only when not kept already.
const std::string& textOf(KeptFormat& kept, double date) {
    if (auto shown = kept.texts.find(date); shown != kept.texts.end()) return shown->second;
    icu::UnicodeString made;
    kept.format->format(static_cast<UDate>(date * 1000.0), made);
    std::string text;
    made.toUTF8String(text);
    if (kept.order.size() < kKeptTexts) {
        kept.order.push_back(date);
    } else {
        kept.texts.erase(kept.order[kept.next]);
        kept.order[kept.next] = date;
        kept.next = (kept.next + 1) % kKeptTexts;
    }
    return kept.texts.insert_or_assign(date, std::move(text)).first->second;
}
std::mutex keptLock;
std::vector<KeptFormat>& kept() {
    static std::vector<KeptFormat> formats;
    return formats;
}

std::unique_ptr<icu::DateFormat> makeFormat(const DateFormatter& f) {
    // ICU's formatters crash on a locale that is not valid: none is made.
    if (!Locale::isValidIdentifier(f.locale.identifier())) return nullptr;
    icu::Locale icuLocale(f.locale.identifier().c_str());
    std::unique_ptr<icu::DateFormat> format;
    if (!f.dateFormat.empty()) {
        UErrorCode status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(f.dateFormat), icuLocale, status);
        if (U_FAILURE(status)) return nullptr;
    } else {
        format.reset(icu::DateFormat::createDateTimeInstance(icuStyle(f.dateStyle), icuStyle(f.timeStyle), icuLocale));
    }
    if (format) format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(f.timeZone)));
    return format;
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
    std::string text;
    format(date, text);
    return text;
}

void DateFormatter::format(core::Date date, std::string& text) const {
    text.clear();
    if (dateFormat.empty() && dateStyle == Style::None && timeStyle == Style::None) return;
    std::lock_guard lock(keptLock);
    auto& formats = kept();
    auto it = std::find_if(formats.begin(), formats.end(), [this](const KeptFormat& k) {
        return k.dateStyle == dateStyle && k.timeStyle == timeStyle && k.pattern == dateFormat &&
               k.timeZone == timeZone && k.locale == locale.identifier();
    });
    static std::uint64_t uses = 0;
    if (it == formats.end()) {
        KeptFormat made{locale.identifier(), dateStyle, timeStyle, timeZone, dateFormat,
                        makeFormat(*this),   {},        {},        0,        0};
        if (formats.size() < kKeptFormats) {
            it = formats.insert(formats.end(), std::move(made));
        } else {
            it = std::min_element(formats.begin(), formats.end(),
                                  [](const KeptFormat& a, const KeptFormat& b) { return a.lastUse < b.lastUse; });
            *it = std::move(made);
        }
    }
    KeptFormat& latest = *it;
    latest.lastUse = ++uses;
    if (!latest.format) return;
    if (std::isnan(date.secondsSince1970)) {
        // Never equal to itself: it would be kept again on every call.
        icu::UnicodeString made;
        latest.format->format(static_cast<UDate>(date.secondsSince1970), made);
        made.toUTF8String(text);
        return;
    }
    text.assign(textOf(latest, date.secondsSince1970));
}

}  // namespace trc::foundation
