#include "platform/foundation/internal/KeptDateFormats.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include "platform/core/TextAssignment.h"
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

// A date's own bits, mixed, its best bits (the high ones) first: 0 and -0
// are one date.
std::uint32_t dateHash(double date) {
    const std::uint64_t bits = date == 0 ? 0 : std::bit_cast<std::uint64_t>(date);
    return static_cast<std::uint32_t>((bits * 0x9e3779b97f4a7c15ULL) >> 32);
}

// The texts of one setting's dates, laid out so that a date shown before
// reads two cache lines: an index entry (its slot and its date's hash, in a
// table open to probing, never over half full) and its slot, a line holding
// the date and its text. A long form's rows show distinct dates, so a node
// table's bucket, node and text, each in a line of its own, came from
// beyond the cache on most rows. The slots are in the order their dates
// came; once the cap is reached the oldest, at next, makes way.
class DateTexts {
public:
    // The text of date; null when it is not kept.
    const char* find(double date, std::size_t& size) const {
        if (index_.empty()) return nullptr;
        const std::uint32_t hash = dateHash(date);
        for (std::size_t at = home(hash);; at = (at + 1) & mask()) {
            const Entry& entry = index_[at];
            if (entry.slot == 0) return nullptr;
            if (entry.hash != hash) continue;
            const Slot& slot = slots_[entry.slot - 1];
            if (slot.date == date) return textOf(entry.slot - 1, size);
        }
    }

    // Keeps text as date's, which is not kept yet.
    std::string_view keep(double date, std::string text) {
        std::size_t slot = slots_.size();
        if (slots_.size() < KeptDateFormats::kTextsPerFormat) {
            slots_.emplace_back();
            if (!longTexts_.empty()) longTexts_.emplace_back();
            growIndex();
        } else {
            slot = next_;
            forget(slot);
            next_ = (next_ + 1) % KeptDateFormats::kTextsPerFormat;
        }
        Slot& kept = slots_[slot];
        kept.date = date;
        kept.size = static_cast<std::uint32_t>(text.size());
        if (text.size() <= kInline) {
            std::copy(text.begin(), text.end(), kept.chars);
            if (!longTexts_.empty()) std::string().swap(longTexts_[slot]);
        } else {
            if (longTexts_.empty()) longTexts_.resize(slots_.size());
            longTexts_[slot] = std::move(text);
        }
        place(Entry{static_cast<std::uint32_t>(slot + 1), dateHash(date)});
        std::size_t size = 0;
        const char* chars = textOf(slot, size);
        return {chars, size};
    }

    std::size_t size() const { return slots_.size(); }

private:
    // A slot's text in its own line, when it fits there.
    static constexpr std::size_t kInline = 52;
    struct alignas(64) Slot {
        double date = 0;
        std::uint32_t size = 0;
        char chars[kInline] = {};
    };
    static_assert(sizeof(Slot) == 64);
    // slot is one past the slot's place; 0 for none.
    struct Entry {
        std::uint32_t slot = 0;
        std::uint32_t hash = 0;
    };

    std::size_t mask() const { return index_.size() - 1; }
    std::size_t home(std::uint32_t hash) const { return hash >> (32 - std::countr_zero(index_.size())); }

    const char* textOf(std::size_t slot, std::size_t& size) const {
        const Slot& kept = slots_[slot];
        size = kept.size;
        return kept.size <= kInline ? kept.chars : longTexts_[slot].data();
    }

    void place(Entry entry) {
        std::size_t at = home(entry.hash);
        while (index_[at].slot != 0) at = (at + 1) & mask();
        index_[at] = entry;
    }

    // Room for one more slot, the index kept at most half full.
    void growIndex() {
        if (index_.size() >= 2 * slots_.size()) return;
        std::vector<Entry> old(std::max<std::size_t>(16, 2 * index_.size()));
        old.swap(index_);
        for (const Entry& entry : old) {
            if (entry.slot != 0) place(entry);
        }
    }

    // Takes slot's entry out of the index, moving back the entries probed
    // past it so that every entry stays reachable from its home.
    void forget(std::size_t slot) {
        const std::uint32_t hash = dateHash(slots_[slot].date);
        std::size_t hole = home(hash);
        while (index_[hole].slot != slot + 1) hole = (hole + 1) & mask();
        for (std::size_t at = (hole + 1) & mask(); index_[at].slot != 0; at = (at + 1) & mask()) {
            const std::size_t wants = home(index_[at].hash);
            // Stays when its home lies after the hole, up to where it is.
            const bool stays = hole < at ? (wants > hole && wants <= at) : (wants > hole || wants <= at);
            if (stays) continue;
            index_[hole] = index_[at];
            hole = at;
        }
        index_[hole] = Entry{};
    }

    std::vector<Slot> slots_;
    // The texts longer than a slot holds, by slot; empty until one comes.
    std::vector<std::string> longTexts_;
    std::vector<Entry> index_;
    std::size_t next_ = 0;
};

struct KeptFormat {
    std::string locale;
    Style dateStyle;
    Style timeStyle;
    std::string timeZone;
    std::string pattern;
    std::unique_ptr<icu::DateFormat> format;
    DateTexts texts;
    std::uint64_t lastUse = 0;
    // Which making this is, so that a formatter that found its settings here
    // does not take what replaced them (or another thread's) for them.
    std::uint64_t serial = 0;
    // The same for every kept setting of this one's locale, time zone and
    // pattern: a formatter whose styles alone changed finds its new setting
    // among them without comparing texts.
    std::uint64_t textsSerial = 0;

    // What a formatter keeps of where it found its settings: this serial and
    // the place, in one word so that threads sharing the formatter never
    // read one's serial with another's place.
    std::uint64_t markAt(std::size_t place) const { return serial << kPlaceBits | place; }
    static std::size_t placeIn(std::uint64_t mark) { return mark & ((1U << kPlaceBits) - 1); }
    static constexpr unsigned kPlaceBits = 4;

    bool hasStylesOf(const DateFormatter& f) const { return dateStyle == f.dateStyle() && timeStyle == f.timeStyle(); }
    bool hasTextsOf(const DateFormatter& f) const {
        return pattern == f.dateFormat() && timeZone == f.timeZone() && locale == f.locale().identifier();
    }
    bool hasSettingsOf(const DateFormatter& f) const { return hasStylesOf(f) && hasTextsOf(f); }
};

static_assert(KeptDateFormats::kFormats <= std::size_t{1} << KeptFormat::kPlaceBits);

// Shared by every thread: a serial is never seen twice (nor is 0, a
// formatter's mark of settings not found yet).
std::atomic<std::uint64_t> keptSerials{0};

// The text of the date, formatted only when not kept already.
std::string_view textOf(KeptFormat& kept, double date) {
    std::size_t size = 0;
    if (const char* shown = kept.texts.find(date, size)) return {shown, size};
    icu::UnicodeString made;
    kept.format->format(static_cast<UDate>(date * 1000.0), made);
    std::string text;
    made.toUTF8String(text);
    return kept.texts.keep(date, std::move(text));
}

// Each thread keeps its own: a formatter is used on one thread, so the
// main thread's rows take no lock, and another thread's dates neither wait
// for it nor crowd its texts out.
thread_local std::vector<KeptFormat> keptFormats;
thread_local std::uint64_t keptUses = 0;
std::vector<KeptFormat>& kept() { return keptFormats; }

KeptFormat* keptFor(const DateFormatter& f) {
    auto& formats = kept();
    auto it = std::find_if(formats.begin(), formats.end(), [&](const KeptFormat& k) { return k.hasSettingsOf(f); });
    return it == formats.end() ? nullptr : &*it;
}

// The kept setting of f's styles among those of the locale, time zone and
// pattern of textsSerial, which are f's.
KeptFormat* keptWithTexts(std::uint64_t textsSerial, const DateFormatter& f) {
    auto& formats = kept();
    auto it = std::find_if(formats.begin(), formats.end(),
                           [&](const KeptFormat& k) { return k.textsSerial == textsSerial && k.hasStylesOf(f); });
    return it == formats.end() ? nullptr : &*it;
}

// The serial of the kept settings of f's locale, time zone and pattern; a
// new one when none are kept.
std::uint64_t textsSerialOf(const DateFormatter& f) {
    auto& formats = kept();
    auto it = std::find_if(formats.begin(), formats.end(), [&](const KeptFormat& k) { return k.hasTextsOf(f); });
    return it == formats.end() ? ++keptSerials : it->textsSerial;
}

std::unique_ptr<icu::DateFormat> makeFormat(const DateFormatter& f) {
    // ICU's formatters crash on a locale that is not valid: none is made.
    if (!Locale::isValidIdentifier(f.locale().identifier())) return nullptr;
    icu::Locale icuLocale(f.locale().identifier().c_str());
    std::unique_ptr<icu::DateFormat> format;
    if (!f.dateFormat().empty()) {
        UErrorCode status = U_ZERO_ERROR;
        format =
            std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(f.dateFormat()), icuLocale, status);
        if (U_FAILURE(status)) return nullptr;
    } else {
        format.reset(
            icu::DateFormat::createDateTimeInstance(icuStyle(f.dateStyle()), icuStyle(f.timeStyle()), icuLocale));
    }
    if (format) format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(f.timeZone())));
    return format;
}

}  // namespace

void KeptDateFormats::format(const DateFormatter& f, core::Date date, std::string& text) {
    auto& formats = kept();
    std::atomic_ref<std::uint64_t> mark(f.keptMark_);
    const std::uint64_t marked = mark.load(std::memory_order_relaxed);
    const std::size_t place = KeptFormat::placeIn(marked);
    // A formatter's locale, time zone and pattern are those of the settings
    // it marked as long as the mark holds: its setters of them unmark it.
    KeptFormat* latest = nullptr;
    std::uint64_t textsSerial = 0;
    if (place < formats.size() && formats[place].markAt(place) == marked) {
        KeptFormat& same = formats[place];
        textsSerial = same.textsSerial;
        latest = same.hasStylesOf(f) ? &same : keptWithTexts(textsSerial, f);
    } else {
        latest = keptFor(f);
    }
    if (!latest) {
        if (textsSerial == 0) textsSerial = textsSerialOf(f);
        KeptFormat made{
            f.locale().identifier(), f.dateStyle(), f.timeStyle(), f.timeZone(), f.dateFormat(), makeFormat(f), {}, 0,
            ++keptSerials,           textsSerial};
        if (formats.size() < kFormats) {
            latest = &formats.emplace_back(std::move(made));
        } else {
            latest = &*std::min_element(formats.begin(), formats.end(),
                                        [](const KeptFormat& a, const KeptFormat& b) { return a.lastUse < b.lastUse; });
            *latest = std::move(made);
        }
    }
    const std::uint64_t found = latest->markAt(static_cast<std::size_t>(latest - formats.data()));
    if (found != marked) mark.store(found, std::memory_order_relaxed);
    latest->lastUse = ++keptUses;
    if (!latest->format) {
        text.clear();
        return;
    }
    if (std::isnan(date.secondsSince1970)) {
        // Never equal to itself: it would be kept again on every call.
        icu::UnicodeString made;
        latest->format->format(static_cast<UDate>(date.secondsSince1970), made);
        text.clear();
        made.toUTF8String(text);
        return;
    }
    core::assignText(text, textOf(*latest, date.secondsSince1970));
}

std::size_t KeptDateFormats::formatCount() { return kept().size(); }

std::size_t KeptDateFormats::textCount(const DateFormatter& formatter) {
    const KeptFormat* k = keptFor(formatter);
    return k ? k->texts.size() : 0;
}

bool KeptDateFormats::holdsText(const DateFormatter& formatter, core::Date date) {
    const KeptFormat* k = keptFor(formatter);
    std::size_t size = 0;
    return k && k->texts.find(date.secondsSince1970, size) != nullptr;
}

}  // namespace trc::foundation::internal
