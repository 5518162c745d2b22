#include <gtest/gtest.h>

#include "platform/core/Json.h"
#include "platform/core/Value.h"

using namespace trc::core;

TEST(Value, BoolIsNeverANumber) {
    EXPECT_NE(Value(true), Value(1));
    EXPECT_FALSE(Value(true).asInteger().has_value());
    EXPECT_FALSE(Value(1).isBool());
}
