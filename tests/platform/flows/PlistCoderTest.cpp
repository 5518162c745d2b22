#include "platform/flows/PlistCoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

// A list as another writer could make it: the date's seconds since 2001
// (a big-endian double after the date marker) replaced.
core::Data withDateSeconds(double seconds) {
    const PlistCoder coder;
    core::Data bytes =
        coder.encode(Value(core::Array{Value("before"), Value(core::Date{978307200.0 + 1.5}), Value(7)}));
    const unsigned char oneAndAHalf[] = {0x33, 0x3f, 0xf8, 0, 0, 0, 0, 0, 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(oneAndAHalf), std::end(oneAndAHalf));
    EXPECT_NE(at, bytes.end());
    std::uint64_t bits = 0;
    std::memcpy(&bits, &seconds, sizeof bits);
    for (int i = 0; i < 8; ++i) at[1 + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    return bytes;
}

TEST(PlistCoder, DatesThatDoNotFitAreRefusedEitherWay) {
    const PlistCoder coder;
    const double far = 1e300, inf = std::numeric_limits<double>::infinity();
    for (double seconds : {std::nan(""), far, -far, inf, -inf, 2147483647.0, -2147483648.0, 4294967296.5}) {
        EXPECT_THROW(coder.decode(withDateSeconds(seconds)), CodingError) << seconds;
        EXPECT_THROW(coder.encode(Value(core::Date{978307200.0 + seconds})), CodingError) << seconds;
    }
    for (double seconds : {2147483646.5, -2147483647.5, -2.25}) {
        const Value back = coder.decode(withDateSeconds(seconds));
        EXPECT_NEAR((*back.ifArray())[1].ifDate()->secondsSince1970, 978307200.0 + seconds, 2e-6) << seconds;
    }
}

}  // namespace
}  // namespace trc::flows
