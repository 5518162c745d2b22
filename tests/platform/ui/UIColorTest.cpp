#include <gtest/gtest.h>

#include "platform/ui/UIColor.h"

using trc::ui::UIColor;

TEST(UIColorHex, ReadsOpaqueAndAlphaForms) {
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"#FF8000", "#FF8000"}, {"ff8000", "#FF8000"}, {"#11223344", "#11223344"},
        {"#aBcDeF", "#ABCDEF"}, {"000000", "#000000"},
    };
    for (const auto& r : rows) {
        auto c = UIColor::fromHexString(r.text);
        ASSERT_TRUE(c) << r.text;
        EXPECT_EQ(c->hexString(), r.expected) << r.text;
    }
    EXPECT_DOUBLE_EQ(UIColor::fromHexString("#FF0000")->red, 1.0);
    EXPECT_DOUBLE_EQ(UIColor::fromHexString("#00000080")->alpha, 128 / 255.0);
}

TEST(UIColorHex, RefusesEverythingElse) {
    for (const char* bad : {"", "#", "red", "#FF00", "#FF00001", "#GG0000", "##FF0000", " #FF0000", "FF0000 ",
                            "0xFF0000", "#FF000000FF"}) {
        EXPECT_FALSE(UIColor::fromHexString(bad).has_value()) << bad;
    }
}

TEST(UIColorHex, NamedColoursAndComparison) {
    EXPECT_EQ(UIColor::fromHexString("#000000"), UIColor::black());
    EXPECT_EQ(UIColor::fromHexString("FFFFFF"), UIColor::white());
    EXPECT_NE(UIColor::black(), UIColor::white());
    EXPECT_NE(UIColor::clear(), UIColor::black());
}
