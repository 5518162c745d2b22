#include "platform/vessa/VUIHorizontalAlignment.h"

#include <gtest/gtest.h>

namespace trc::vessa {
namespace {

TEST(HorizontalAlignment, OnlyTheThreeExactNamesGiveAnAlignment) {
    for (auto a : {VUIHorizontalAlignment::Left, VUIHorizontalAlignment::Center, VUIHorizontalAlignment::Right}) {
        EXPECT_EQ(horizontalAlignmentFromString(horizontalAlignmentName(a)), a);
    }
    EXPECT_EQ(horizontalAlignmentFromString("right"), VUIHorizontalAlignment::Right);
    for (const char* other : {"", "Left", "CENTER", " right", "centre", "justified", "leading"}) {
        EXPECT_FALSE(horizontalAlignmentFromString(other)) << other;
    }
}

}  // namespace
}  // namespace trc::vessa
