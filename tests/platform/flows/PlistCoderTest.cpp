#include "platform/flows/PlistCoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "platform/flows/CodingError.h"

namespace trc::flows {
namespace {

using core::Value;

TEST(PlistCoder, DatesBeforeAndAfterTheReferenceDateKeepTheirMicroseconds) {
    const PlistCoder coder;
    // 2001-01-01T00:00:00Z is 978307200 seconds after 1970.
    for (double t : {978307200.25, 978307198.75, 1.5, -1169176447.446778, 1e9 + 0.000097}) {
        const Value back = coder.decode(coder.encode(Value(core::Date{t})));
        ASSERT_TRUE(back.ifDate()) << t;
        EXPECT_NEAR(back.ifDate()->secondsSince1970, t, 2e-6) << std::fixed << t;
    }
}

TEST(PlistCoder, TextsAPropertyListCannotHoldAreRefusedNotCutOrCrashedOn) {
    const PlistCoder coder;
    for (const std::string& text : {std::string("a\0b", 3), std::string("\xc0\x80"), std::string("ok\xff")})
        EXPECT_THROW(coder.encode(Value(text)), CodingError);
    EXPECT_THROW(coder.encode(Value(core::Dictionary{{std::string("k\0ey", 4), 1}})), CodingError);

    // A list as another writer could make it: the key "ab" with its "b" made NUL.
    core::Data bytes = coder.encode(Value(core::Dictionary{{"ab", 1}}));
    auto at = std::search(bytes.begin(), bytes.end(), std::begin("ab"), std::end("ab") - 1);
    ASSERT_NE(at, bytes.end());
    at[1] = 0;
    EXPECT_THROW(coder.decode(bytes), CodingError);
    EXPECT_EQ(coder.decode(coder.encode(Value("é ok"))), Value("é ok"));
}

}  // namespace
}  // namespace trc::flows
