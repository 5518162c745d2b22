#include <gtest/gtest.h>

#include "platform/core/Base64.h"

using namespace trc::core;

TEST(Base64, EncodesWithPadding) {
    EXPECT_EQ(Base64::encode(Data{}), "");
    EXPECT_EQ(Base64::encode(Data{'f'}), "Zg==");
    EXPECT_EQ(Base64::encode(Data{'f', 'o'}), "Zm8=");
    EXPECT_EQ(Base64::encode(Data{'f', 'o', 'o'}), "Zm9v");
    EXPECT_EQ(Base64::encode(Data{0xfb, 0xff}), "+/8=");
    const Data urlish{0xfb, 0xff};
    EXPECT_EQ(Base64::encodeURLSafe(urlish.data(), urlish.size()), "-_8") << "URL-safe, no padding";
}

TEST(Base64, DecodesWhatItEncodes) {
    Data all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<std::uint8_t>(i));
    EXPECT_EQ(Base64::decode(Base64::encode(all)), all);
    EXPECT_EQ(Base64::decode(""), Data{});
}

TEST(Base64, DecodingIsStrict) {
    for (const char* bad : {"Zg", "Zg=", "Zm9v\n", " Zm9v", "Zm9v====", "Zm9*", "-_8=", "Zg==Zg=="}) {
        EXPECT_FALSE(Base64::decode(bad).has_value()) << bad;
    }
}
