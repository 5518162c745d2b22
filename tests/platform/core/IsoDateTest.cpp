#include <gtest/gtest.h>

#include <limits>

#include "platform/core/IsoDate.h"

using namespace trc::core;

TEST(IsoDateParsing, ReadsUtcOffsetsAndFractions) {
    EXPECT_EQ(IsoDate::parse("1970-01-01T00:00:00Z"), Date{0});
    EXPECT_EQ(IsoDate::parse("2026-01-31T10:00:00Z"), Date{1769853600});
    EXPECT_EQ(IsoDate::parse("2026-01-31T12:00:00+02:00"), Date{1769853600});
    EXPECT_EQ(IsoDate::parse("2026-01-31T05:30:00-0430"), Date{1769853600});
    EXPECT_EQ(IsoDate::parse("2026-01-31T10:00:00.5Z"), Date{1769853600.5});
    EXPECT_EQ(IsoDate::parse("1969-12-31T23:59:59Z"), Date{-1});
    EXPECT_EQ(IsoDate::parse("2024-02-29T00:00:00Z"), Date{1709164800});
}

TEST(IsoDateParsing, RefusesWhatIsNotADate) {
    for (const char* bad : {"", "2026-01-31", "2026-01-31T10:00:00", "2026-01-31 10:00:00Z", "2026-13-01T00:00:00Z",
                            "2026-02-29T00:00:00Z", "2026-04-31T00:00:00Z", "2026-01-00T00:00:00Z",
                            "2026-01-31T24:00:00Z", "2026-01-31T10:00:00.Z", "2026-01-31T10:00:00Zjunk",
                            "2026-01-31T10:00:00+2:00", "2026-01-31T10:00:00+25:00", "２０２６-01-31T10:00:00Z"}) {
        EXPECT_FALSE(IsoDate::parse(bad).has_value()) << bad;
    }
}

TEST(IsoDateFormatting, WritesUtcWithMillisecondsOnlyWhenThereAreAny) {
    EXPECT_EQ(IsoDate::format(Date{1769853600}), "2026-01-31T10:00:00Z");
    EXPECT_EQ(IsoDate::format(Date{1769853600.25}), "2026-01-31T10:00:00.250Z");
    EXPECT_EQ(IsoDate::format(Date{-0.5}), "1969-12-31T23:59:59.500Z");
    EXPECT_EQ(IsoDate::format(Date{59.9996}), "1970-01-01T00:01:00Z");  // rounds into the next second
}

TEST(IsoDateFormatting, DatesOutOfRangeDoNotOverflow) {
    EXPECT_EQ(IsoDate::format(Date{std::numeric_limits<double>::infinity()}), "invalid-date");
    EXPECT_EQ(IsoDate::format(Date{std::numeric_limits<double>::quiet_NaN()}), "invalid-date");
    EXPECT_EQ(IsoDate::format(Date{1e300}), "invalid-date");
    EXPECT_EQ(IsoDate::format(Date{-1e300}), "invalid-date");
    EXPECT_EQ(IsoDate::format(Date{253402300799}), "9999-12-31T23:59:59Z");
    EXPECT_EQ(IsoDate::format(Date{-62167219201.0}), "invalid-date") << "year -1 has no four-digit text";
    EXPECT_EQ(IsoDate::format(Date{253402300799.9996}), "invalid-date") << "would round into year 10000";
}

TEST(IsoDateParsing, AnOffsetThatCarriesTheDateOutOfTheFourDigitYearsIsRefused) {
    EXPECT_EQ(IsoDate::parse("0000-01-01T00:00:13+0230"), std::nullopt);
    EXPECT_EQ(IsoDate::parse("9999-12-31T23:59:59-01:00"), std::nullopt);
    EXPECT_EQ(IsoDate::parse("9999-12-31T23:59:59.9999Z"), std::nullopt);
    EXPECT_EQ(IsoDate::format(*IsoDate::parse("0000-01-01T02:30:13+0230")), "0000-01-01T00:00:13Z");
}

TEST(IsoDateFormatting, FormatThenParseIsTheSameDate) {
    for (double t : {0.0, 1.0, 951782400.0 /* 2000-02-29 */, 4102444800.123, -86400.0 * 365 * 100}) {
        EXPECT_EQ(IsoDate::parse(IsoDate::format(Date{t}))->secondsSince1970, t) << t;
    }
}
