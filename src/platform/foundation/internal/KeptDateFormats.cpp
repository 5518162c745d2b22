#include "platform/foundation/internal/KeptDateFormats.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include "platform/foundation/DateFormatter.h"

namespace trc::foundation::internal {

namespace {

using Style = DateFormatter::Style;

icu::DateFormat::EStyle icuStyle(Style style) {
    switch (style) {
    case Style::None: return icu::DateFormat::kNone;
    case Style::Short: return icu::DateFormat::kShort;
    case Style::Medium: return icu::DateFormat::kMedium;
    case Style::Long: return icu::DateFormat::kLong;
    case Style::Full: return icu::DateFormat::kFull;
    }
    return icu::DateFormat::kNone;
}

// A date's own bits, mixed: std::hash<double> runs a byte hash over them.
struct DateHash {
    std::size_t operator()(double date) const {
        // 0 and -0 are one date.
        const std::uint64_t bits = date == 0 ? 0 : std::bit_cast<std::uint64_t>(date);
        const std::uint64_t mixed = bits * 0x9e3779b97f4a7c15ULL;
        return static_cast<std::size_t>(mixed ^ (mixed >> 32));
    }
};

struct KeptFormat {
    std::string locale;
    Style dateStyle;
    Style timeStyle;
    std::string timeZone;
    std::string pattern;
    std::unique_ptr<icu::DateFormat> format;
    // The texts by date; order holds the dates in the order they came, the
    // oldest at next once it is full.
    std::unordered_map<double, std::string, DateHash> texts;
    std::vector<double> order;
    std::size_t next = 0;
    std::uint64_t lastUse = 0;

    bool hasSettingsOf(const DateFormatter& f) const {
        return dateStyle == f.dateStyle && timeStyle == f.timeStyle && pattern == f.dateFormat &&
               timeZone == f.timeZone && locale == f.locale.identifier();
    }
};

// The text of the date, formatted only when not kept already.
const std::string& textOf(KeptFormat& kept, double date) {
    if (auto shown = kept.texts.find(date); shown != kept.texts.end()) return shown->second;
    icu::UnicodeString made;
    kept.format->format(static_cast<UDate>(date * 1000.0), made);
    std::string text;
    made.toUTF8String(text);
    if (kept.order.size() < KeptDateFormats::kTextsPerFormat) {
        kept.order.push_back(date);
    } else {
        kept.texts.erase(kept.order[kept.next]);
        kept.order[kept.next] = date;
        kept.next = (kept.next + 1) % KeptDateFormats::kTextsPerFormat;
    }
    return kept.texts.insert_or_assign(date, std::move(text)).first->second;
}

std::mutex keptLock;
std::vector<KeptFormat>& kept() {
    static std::vector<KeptFormat> formats;
    return formats;
}

KeptFormat* keptFor(const DateFormatter& f) {
    auto& formats = kept();
    auto it = std::find_if(formats.begin(), formats.end(), [&](const KeptFormat& k) { return k.hasSettingsOf(f); });
    return it == formats.end() ? nullptr : &*it;
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

void KeptDateFormats::format(const DateFormatter& f, core::Date date, std::string& text) {
    text.clear();
    std::lock_guard lock(keptLock);
    auto& formats = kept();
    KeptFormat* latest = keptFor(f);
    static std::uint64_t uses = 0;
    if (!latest) {
        KeptFormat made{f.locale.identifier(), f.dateStyle, f.timeStyle, f.timeZone, f.dateFormat,
                        makeFormat(f),         {},          {},          0,          0};
        if (formats.size() < kFormats) {
            latest = &formats.emplace_back(std::move(made));
        } else {
            latest = &*std::min_element(formats.begin(), formats.end(),
                                        [](const KeptFormat& a, const KeptFormat& b) { return a.lastUse < b.lastUse; });
            *latest = std::move(made);
        }
    }
    latest->lastUse = ++uses;
    if (!latest->format) return;
    if (std::isnan(date.secondsSince1970)) {
        // Never equal to itself: it would be kept again on every call.
        icu::UnicodeString made;
        latest->format->format(static_cast<UDate>(date.secondsSince1970), made);
        made.toUTF8String(text);
        return;
    }
    text.assign(textOf(*latest, date.secondsSince1970));
}

std::size_t KeptDateFormats::formatCount() {
    std::lock_guard lock(keptLock);
    return kept().size();
}

std::size_t KeptDateFormats::textCount(const DateFormatter& formatter) {
    std::lock_guard lock(keptLock);
    const KeptFormat* k = keptFor(formatter);
    return k ? k->texts.size() : 0;
}

bool KeptDateFormats::holdsText(const DateFormatter& formatter, core::Date date) {
    std::lock_guard lock(keptLock);
    const KeptFormat* k = keptFor(formatter);
    return k && k->texts.contains(date.secondsSince1970);
}

}  // namespace trc::foundation::internal
