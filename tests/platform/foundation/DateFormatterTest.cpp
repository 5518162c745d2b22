#include "platform/foundation/DateFormatter.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace trc::foundation {
namespace {

using Style = DateFormatter::Style;

// ICU puts a space of its choice between the time and "PM" (a narrow no-break
// space since ICU 72, a plain one before); the text is what is checked.
std::string withPlainSpaces(std::string text) {
    for (std::string_view space : {"\u202f", "\u00a0"}) {
        for (auto at = text.find(space); at != std::string::npos; at = text.find(space, at + 1)) {
            text.replace(at, space.size(), " ");
        }
    }
    return text;
}

// Formatters with the same settings share their ICU formatter; any setting
// changed between two texts must still show in the second.
TEST(DateFormatterText, EverySettingCountsAtEveryCall) {
    const core::Date noon{43200};  // 1970-01-01 12:00 UTC
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    EXPECT_EQ(f.string(noon), "") << "no styles, no pattern: no text";
    f.setDateStyle(Style::Medium);
    EXPECT_EQ(f.string(noon), "Jan 1, 1970");
    DateFormatter same = f;
    EXPECT_EQ(same.string(noon), "Jan 1, 1970");
    f.setTimeStyle(Style::Short);
    EXPECT_EQ(withPlainSpaces(f.string(noon)), "Jan 1, 1970, 12:00 PM");
    f.setTimeZone("Asia/Tokyo");
    EXPECT_EQ(withPlainSpaces(f.string(noon)), "Jan 1, 1970, 9:00 PM");
    f.setLocale(Locale("de_DE"));
    EXPECT_EQ(f.string(noon), "01.01.1970, 21:00");
    f.setDateFormat("yyyy-MM-dd HH:mm");
    EXPECT_EQ(f.string(noon), "1970-01-01 21:00");
    EXPECT_EQ(same.string(noon), "Jan 1, 1970") << "a copy keeps its own settings";

    for (int i = 0; i < 40; ++i) {  // more settings than are kept formatted
        DateFormatter other;
        other.setDateFormat("'day' " + std::to_string(i) + " d");
        EXPECT_EQ(other.string(noon), "day " + std::to_string(i) + " 1");
    }
    EXPECT_EQ(same.string(noon), "Jan 1, 1970");
    EXPECT_EQ(same.string(core::Date{86400 * 366}), "Jan 2, 1971");
    EXPECT_EQ(same.string(noon), "Jan 1, 1970") << "each date shows as itself, whichever came before";
}

// Texts of dates shown before are kept; however many dates come between,
// each text is its own date's, and format() replaces what its string held.
TEST(DateFormatterText, ADateShownAgainShowsItselfAfterManyOthers) {
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    f.setDateFormat("yyyy-MM-dd");
    const auto day = [](int n) { return core::Date{86400.0 * n}; };
    std::string text = "what the label showed before, longer than any date";
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < 70; ++n) {  // more dates than are kept
            f.format(day(n), text);
            EXPECT_EQ(text, f.string(day(n)));
        }
    }
    f.format(day(0), text);
    EXPECT_EQ(text, "1970-01-01");
    f.format(day(69), text);
    EXPECT_EQ(text, "1970-03-11");
    f.setDateFormat("");
    f.format(day(69), text);
    EXPECT_EQ(text, "") << "no styles, no pattern: no text";
}

// ICU's formatters crash the process on a bogus locale or on a locale name
// longer than their buffers; such identifiers are no locale, and a
// formatter given one anyway shows nothing.
TEST(LocaleIdentifier, OnlyIdentifiersICUMakesAUsableLocaleOfAreLocales) {
    std::string keywords = "en_US@";
    for (int i = 0; i < 40; ++i) keywords += "k" + std::to_string(i) + "=v;";
    const std::vector<std::string> none = {"en_US@calendar=",
                                           "en@currency=",
                                           "en@=gregorian",
                                           "@calendar=",
                                           "en@calendar=;currency=",
                                           std::string(157, 'a'),
                                           "en_" + std::string(153, 'X'),
                                           "en_US@currency=" + std::string(142, 'x'),
                                           keywords,
                                           std::string("en\0US", 5),
                                           "abcdefghijkl"};
    DateFormatter f;
    f.setDateStyle(Style::Medium);
    f.setTimeStyle(Style::Short);
    for (const std::string& id : none) {
        SCOPED_TRACE(id.substr(0, 40) + " (" + std::to_string(id.size()) + " bytes)");
        EXPECT_FALSE(Locale::isValidIdentifier(id));
        EXPECT_FALSE(Locale::named(id));
        f.setLocale(Locale(id));
        EXPECT_EQ(f.string(core::Date{43200}), "");
    }
    for (const std::string& id : std::vector<std::string>{"en_US", "de_DE", "en-US", "fr", "ja_JP@calendar=japanese",
                                                          "en_US@", "en_US@currency=" + std::string(141, 'x')}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(Locale::named(id));
        EXPECT_EQ(Locale::named(id)->identifier(), id);
        f.setLocale(*Locale::named(id));
        EXPECT_NE(f.string(core::Date{43200}), "");
    }
}

}  // namespace
}  // namespace trc::foundation
