#include "platform/foundation/internal/KeptDateFormats.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/DateFormatter.h"

namespace trc::foundation::internal {
namespace {

using Kept = KeptDateFormats;

core::Date day(int n) { return core::Date{86400.0 * n}; }

// A formatter of settings no other test uses, so its texts start unkept.
DateFormatter ownFormatter(const std::string& tag) {
    DateFormatter f;
    f.locale = Locale("en_US");
    f.dateFormat = "'" + tag + "' yyyy-MM-dd";
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

}  // namespace
}  // namespace trc::foundation::internal
