#include <gtest/gtest.h>

#include "platform/ui/UIColor.h"

using trc::ui::UIColor;

TEST(UIColorHex, ReadsLongShortAndAlphaForms) {
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"#FF8000", "#FF8000FF"}, {"ff8000", "#FF8000FF"},  {"#F80", "#FF8800FF"}, {"#11223344", "#11223344"},
        {"#aBcDeF", "#ABCDEFFF"}, {"000000", "#000000FF"},
    };
    for (const auto& r : rows) {
        auto c = UIColor::fromHexString(r.text);
        ASSERT_TRUE(c) << r.text;
        EXPECT_EQ(c->hexString(), r.expected) << r.text;
    }
    EXPECT_DOUBLE_EQ(UIColor::fromHexString("#FF0000")->red(), 1.0);
    EXPECT_DOUBLE_EQ(UIColor::fromHexString("#00000080")->alpha(), 128 / 255.0);
}

TEST(UIColorHex, RefusesEverythingElse) {
    for (const char* bad : {"", "#", "red", "#FF00", "#FF00001", "#GG0000", "##FF0000", " #FF0000", "FF0000 ",
                            "0xFF0000", "#FF000000FF"}) {
        EXPECT_FALSE(UIColor::fromHexString(bad).has_value()) << bad;
    }
}

TEST(UIColorHex, NamedColoursAndComparison) {
    EXPECT_EQ(UIColor(), UIColor::clear());
    EXPECT_EQ(UIColor::fromHexString("#000"), UIColor::black());
    EXPECT_EQ(UIColor::fromHexString("FFFFFF"), UIColor::white());
    EXPECT_NE(UIColor::black(), UIColor::white());
    EXPECT_EQ(UIColor(2, -1, 0.5, 1).hexString(), "#FF0080FF");  // out-of-range parts clamp
}
