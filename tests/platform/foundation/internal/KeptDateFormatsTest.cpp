#include "platform/foundation/internal/KeptDateFormats.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/DateFormatter.h"

namespace trc::foundation::internal {
namespace {

using Kept = KeptDateFormats;

core::Date day(int n) { return core::Date{86400.0 * n}; }

// A formatter of settings no other test uses, so its texts start unkept.
DateFormatter ownFormatter(const std::string& tag) {
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    f.setDateFormat("'" + tag + "' yyyy-MM-dd");
    return f;
}

// A long form shows a date on every row: the texts kept for one setting
// stop at the cap, the oldest making way, and a date whose text was dropped
// shows its own text again.
TEST(KeptDateFormats, TheTextsOfOneSettingStopAtTheCapAndADroppedOneIsMadeAgain) {
    const DateFormatter f = ownFormatter("cap");
    std::string text;
    f.format(day(0), text);
    const std::string first = text;
    ASSERT_EQ(first, "cap 1970-01-01");
    for (int n = 1; n < static_cast<int>(Kept::kTextsPerFormat); ++n) f.format(day(n), text);
    EXPECT_EQ(Kept::textCount(f), Kept::kTextsPerFormat);
    EXPECT_TRUE(Kept::holdsText(f, day(0))) << "full, not past the cap yet";

    f.format(day(-1), text);
    EXPECT_EQ(text, "cap 1969-12-31");
    EXPECT_EQ(Kept::textCount(f), Kept::kTextsPerFormat);
    EXPECT_FALSE(Kept::holdsText(f, day(0))) << "the oldest makes way";
    EXPECT_TRUE(Kept::holdsText(f, day(1)));

    f.format(day(0), text);
    EXPECT_EQ(text, first) << "a dropped text is formatted again, as itself";
    EXPECT_EQ(Kept::textCount(f), Kept::kTextsPerFormat);
    EXPECT_FALSE(Kept::holdsText(f, day(1))) << "then the next oldest makes way";
    f.format(day(1), text);
    EXPECT_EQ(text, "cap 1970-01-02");
}

// Minus zero is the same date as zero: one text kept, not two.
TEST(KeptDateFormats, MinusZeroIsKeptAsZero) {
    const DateFormatter f = ownFormatter("zero");
    EXPECT_EQ(f.string(core::Date{-0.0}), "zero 1970-01-01");
    EXPECT_EQ(f.string(core::Date{0.0}), "zero 1970-01-01");
    EXPECT_EQ(Kept::textCount(f), 1U);
}

// Past the cap on settings, the one unused longest makes way with its
// texts, and formats correctly when it comes back.
TEST(KeptDateFormats, SettingsPastTheCapDropTheLeastUsedWithItsTexts) {
    const DateFormatter first = ownFormatter("first");
    std::string text;
    first.format(day(3), text);
    EXPECT_TRUE(Kept::holdsText(first, day(3)));
    for (std::size_t i = 0; i < Kept::kFormats; ++i) {
        ownFormatter("other " + std::to_string(i)).format(day(3), text);
        EXPECT_EQ(text, "other " + std::to_string(i) + " 1970-01-04");
    }
    EXPECT_EQ(Kept::formatCount(), Kept::kFormats);
    EXPECT_EQ(Kept::textCount(first), 0U);

    first.format(day(3), text);
    EXPECT_EQ(text, "first 1970-01-04");
    EXPECT_EQ(Kept::formatCount(), Kept::kFormats);
    EXPECT_TRUE(Kept::holdsText(first, day(3)));
}

// Texts up to a few over a slot's inline room (September's are longer than
// May's) and dates in scattered order, through the cap and well past it:
// each date's text is its own whether it was just kept, found among many
// neighbours, or moved when an older date made way; exactly the latest
// kTextsPerFormat dates stay kept.
TEST(KeptDateFormats, ScatteredDatesKeepTheirOwnTextsThroughTheCap) {
    const std::string tag(42, 'x');
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    f.setDateFormat("'" + tag + "' MMMM dd");
    static constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                            "May",       "June",     "July",     "August",
                                                            "September", "October",  "November", "December"};
    const auto expected = [&](int n) {
        const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{n}}};
        char dd[3];
        std::snprintf(dd, sizeof dd, "%02u", static_cast<unsigned>(ymd.day()));
        return tag + " " + kMonths[static_cast<unsigned>(ymd.month()) - 1] + " " + dd;
    };
    // Distinct days (30011 is a prime), more than twice the cap, so every
    // slot is taken over at least twice.
    const auto dayAt = [](int k) { return (k * 7919) % 30011; };
    const int count = static_cast<int>(2 * Kept::kTextsPerFormat + Kept::kTextsPerFormat / 2);
    std::string text;
    for (int k = 0; k < count; ++k) {
        f.format(day(dayAt(k)), text);
        ASSERT_EQ(text, expected(dayAt(k))) << "day " << dayAt(k) << ", the " << k << "th";
    }
    EXPECT_EQ(Kept::textCount(f), Kept::kTextsPerFormat);
    for (int k = 0; k < count; ++k) {
        const bool latest = k >= count - static_cast<int>(Kept::kTextsPerFormat);
        ASSERT_EQ(Kept::holdsText(f, day(dayAt(k))), latest) << "the " << k << "th";
    }
    // Found again, not made: each kept text is still its own date's.
    for (int k = count - static_cast<int>(Kept::kTextsPerFormat); k < count; ++k) {
        f.format(day(dayAt(k)), text);
        ASSERT_EQ(text, expected(dayAt(k))) << "day " << dayAt(k);
    }
    EXPECT_EQ(Kept::textCount(f), Kept::kTextsPerFormat);
}

// Dates a second apart, or apart only in a fraction of a second, are
// different dates to the texts kept, while a date's text is found again
// for the same date given anew.
TEST(KeptDateFormats, DatesApartByLittleAreKeptApart) {
    DateFormatter seconds = ownFormatter("near");
    seconds.setDateFormat("'near' HH:mm:ss.SSS");
    std::string text;
    seconds.format(core::Date{0.5}, text);
    EXPECT_EQ(text, "near 00:00:00.500");
    seconds.format(core::Date{0.25}, text);
    EXPECT_EQ(text, "near 00:00:00.250");
    seconds.format(core::Date{1.5}, text);
    EXPECT_EQ(text, "near 00:00:01.500");
    seconds.format(core::Date{0.5}, text);
    EXPECT_EQ(text, "near 00:00:00.500");
    EXPECT_EQ(Kept::textCount(seconds), 3U);
}

// One date in settings that differ in one thing each: every setting shows
// its own text, never one kept for another, also when asked again.
TEST(KeptDateFormats, ADateKeptInOneSettingIsNotShownInAnother) {
    DateFormatter base;
    base.setLocale(Locale("en_US"));
    base.setDateFormat("'zone' yyyy-MM-dd HH:mm");
    DateFormatter zone = base;
    zone.setTimeZone("Asia/Tokyo");
    DateFormatter locale = base;
    locale.setLocale(Locale("de_DE"));
    locale.setDateFormat("'zone' MMMM");
    DateFormatter styles;
    styles.setLocale(Locale("en_US"));
    styles.setDateStyle(DateFormatter::Style::Short);
    const core::Date date{86400.0 * 45 + 3600 * 20};
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(base.string(date), "zone 1970-02-15 20:00");
        EXPECT_EQ(zone.string(date), "zone 1970-02-16 05:00");
        EXPECT_EQ(locale.string(date), "zone Februar");
        EXPECT_EQ(styles.string(date), "2/15/70");
    }
}

// A formatter remembers where its settings were found and looks there
// first: what it finds there must still be its own settings, whatever
// happened since — a setting changed (and changed back), the place given
// to other settings, its storage taken by a new formatter, a copy changed,
// or the formatter used on a thread whose list holds others at that place.
TEST(KeptDateFormats, AFormatterNeverTakesWhatItFoundBeforeForItsSettingsOnceTheyDiffer) {
    const core::Date date{86400.0 * 45 + 3600 * 20};  // 1970-02-15 20:00 UTC
    using Style = DateFormatter::Style;
    struct Change {
        const char* what;
        void (*change)(DateFormatter&);
        const char* text;
    };
    const std::array<Change, 7> changes{{
        {"the same pattern again", [](DateFormatter& f) { f.setDateFormat("'mark' yyyy-MM-dd HH:mm"); },
         "mark 1970-02-15 20:00"},
        {"time zone", [](DateFormatter& f) { f.setTimeZone("Asia/Tokyo"); }, "mark 1970-02-16 05:00"},
        {"time zone back", [](DateFormatter& f) { f.setTimeZone("UTC"); }, "mark 1970-02-15 20:00"},
        {"pattern", [](DateFormatter& f) { f.setDateFormat("'mark' MMMM"); }, "mark February"},
        {"locale", [](DateFormatter& f) { f.setLocale(Locale("de_DE")); }, "mark Februar"},
        {"no pattern, date style",
         [](DateFormatter& f) {
             f.setDateFormat("");
             f.setDateStyle(Style::Short);
         },
         "15.02.70"},
        {"time style", [](DateFormatter& f) { f.setTimeStyle(Style::Short); }, "15.02.70, 20:00"},
    }};
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    f.setDateFormat("'mark' yyyy-MM-dd HH:mm");
    EXPECT_EQ(f.string(date), "mark 1970-02-15 20:00");
    for (const Change& change : changes) {
        change.change(f);
        EXPECT_EQ(f.string(date), change.text) << change.what;
        EXPECT_EQ(f.string(date), change.text) << change.what << ", asked again";
    }

    // Its place given to other settings, then its storage to a new formatter.
    const DateFormatter first = ownFormatter("first mark");
    EXPECT_EQ(first.string(date), "first mark 1970-02-15");
    std::optional<DateFormatter> slot;
    for (std::size_t i = 0; i < 2 * Kept::kFormats; ++i) {
        slot.emplace(ownFormatter("mark " + std::to_string(i)));
        EXPECT_EQ(slot->string(date), "mark " + std::to_string(i) + " 1970-02-15");
    }
    EXPECT_EQ(first.string(date), "first mark 1970-02-15");

    DateFormatter copy = first;
    copy.setTimeZone("Asia/Tokyo");
    copy.setDateFormat("'copy' yyyy-MM-dd HH:mm");
    EXPECT_EQ(copy.string(date), "copy 1970-02-16 05:00");
    EXPECT_EQ(first.string(date), "first mark 1970-02-15");

    // Another thread's list holds other settings at every place first.
    std::vector<std::string> there;
    std::thread([&] {
        for (std::size_t i = 0; i < Kept::kFormats; ++i) ownFormatter("there " + std::to_string(i)).string(date);
        there.push_back(first.string(date));
        there.push_back(copy.string(date));
    }).join();
    EXPECT_EQ(there, (std::vector<std::string>{"first mark 1970-02-15", "copy 1970-02-16 05:00"}));
    EXPECT_EQ(first.string(date), "first mark 1970-02-15");
}

// A reused date cell's formatter goes from style to style with its locale,
// time zone and pattern unchanged: each style shows its own text, never one
// of the settings it left, nor of another locale's same styles, also when
// every setting was dropped in between.
TEST(KeptDateFormats, StylesChangedAloneShowTheirOwnTexts) {
    using Style = DateFormatter::Style;
    const core::Date date{86400.0 * 45 + 3600 * 20};  // 1970-02-15 20:00 UTC
    struct Styled {
        Style date;
        Style time;
        const char* text;
    };
    const std::array<Styled, 4> styles{{
        {Style::Medium, Style::None, "15.02.1970"},
        {Style::None, Style::Short, "20:00"},
        {Style::Medium, Style::Short, "15.02.1970, 20:00"},
        {Style::None, Style::None, ""},
    }};
    DateFormatter english;
    english.setLocale(Locale("en_US"));
    DateFormatter german;
    german.setLocale(Locale("de_DE"));
    for (int round = 0; round < 3; ++round) {
        for (const Styled& styled : styles) {
            english.setDateStyle(styled.date);
            english.setTimeStyle(styled.time);
            english.string(date);
            german.setDateStyle(styled.date);
            german.setTimeStyle(styled.time);
            EXPECT_EQ(german.string(date), styled.text) << "round " << round;
        }
        if (round == 1) {
            for (std::size_t i = 0; i < Kept::kFormats; ++i) ownFormatter("drop " + std::to_string(i)).string(date);
        }
    }
    german.setLocale(Locale("en_US"));
    german.setDateStyle(Style::Medium);
    EXPECT_EQ(german.string(date), "Feb 15, 1970");
}

// Each thread keeps its own formatters and texts: dates shown on another
// thread are neither kept nor counted on this one, and threads formatting
// the same settings at once each get every date's own text.
TEST(KeptDateFormats, EachThreadKeepsItsOwnTexts) {
    const DateFormatter f = ownFormatter("thread");
    std::string text;
    f.format(day(5), text);
    ASSERT_EQ(text, "thread 1970-01-06");
    const std::size_t formats = Kept::formatCount();
    const auto expected = [](int n) {
        const std::chrono::year_month_day ymd{std::chrono::sys_days{std::chrono::days{n}}};
        char made[32];
        std::snprintf(made, sizeof made, "thread %04d-%02u-%02u", static_cast<int>(ymd.year()),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
        return std::string(made);
    };

    constexpr int kThreads = 4;
    constexpr int kDays = 600;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::size_t> keptThere(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::string shown;
            for (int round = 0; round < 2; ++round) {
                for (int n = 0; n < kDays; ++n) {
                    f.format(day(n), shown);
                    if (shown != expected(n)) ++wrong[t];
                }
            }
            keptThere[t] = Kept::textCount(f);
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(wrong[t], 0) << "thread " << t;
        EXPECT_EQ(keptThere[t], static_cast<std::size_t>(kDays)) << "thread " << t;
    }
    f.format(day(kDays - 1), text);
    EXPECT_EQ(text, "thread 1971-08-23");
    EXPECT_EQ(Kept::formatCount(), formats);
    EXPECT_EQ(Kept::textCount(f), 2U) << "this thread's dates alone";
    EXPECT_FALSE(Kept::holdsText(f, day(6)));
}

}  // namespace
}  // namespace trc::foundation::internal
