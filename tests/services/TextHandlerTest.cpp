#include "services/TextHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/UITableView.h"

using trc::services::TextHandler;

namespace {

const std::vector<std::string> kSamples = {
    "Details",
    "Contact person and address of the customer",
    "Supercalifragilisticexpialidocious words do not break between letters unless they must",
    "Line one\nLine two\r\nLine three",
    "Mixed WWW mmm iii ... 12345 (notes) - \"quoted\" text\twith a tab",
    "\u6CE8\u6587\u306E\u8A73\u7D30\u3068\u914D\u9001\u5148\u306E\u4F4F\u6240",
    "Caf\u00E9 na\u00EFve \u00FCber r\u00E9sum\u00E9 co\u00F6perate",
};

// Points of each ASCII-only line, as the rule reads them.
double advanceOf(const std::string& text) {
    double w = 0;
    for (char c : text) w += TextHandler::advanceOf(static_cast<unsigned char>(c));
    return w;
}

TEST(HeaderTextMeasuring, LinesAndHeightFollowTheRule) {
    EXPECT_EQ(TextHandler::heightOfText("", 320), 0);
    EXPECT_EQ(TextHandler::heightOfText(" ", 320), 21.5);
    EXPECT_EQ(TextHandler::heightOfText("Details", 320), 21.5);
    // D 12, e a s 9.5, t 6.5, i l 4.5: "Details Details" is 2 x 56 + 4.5 wide.
    ASSERT_EQ(advanceOf("Details"), 56);
    EXPECT_EQ(TextHandler::numberOfLines("Details Details", 116.5), 1u);
    EXPECT_EQ(TextHandler::numberOfLines("Details Details", 116.4), 2u);
    // A space at the end of a line takes no room.
    EXPECT_EQ(TextHandler::numberOfLines("Details Details", 56), 2u);
    // Line feeds always break; a closing one adds an empty line.
    EXPECT_EQ(TextHandler::numberOfLines("a\nb", 1000), 2u);
    EXPECT_EQ(TextHandler::numberOfLines("a\r\nb\n", 1000), 3u);
    EXPECT_EQ(TextHandler::numberOfLines("a\n\nb", 1000), 3u);
}

TEST(HeaderTextMeasuring, AWordWiderThanTheLineBreaksBetweenCharacters) {
    // Ten letters of 9.5 points fill 95 points exactly.
    EXPECT_EQ(TextHandler::numberOfLines(std::string(100, 'a'), 95), 10u);
    EXPECT_EQ(TextHandler::numberOfLines(std::string(100, 'a'), 94.9), 12u);  // nine a line
    // A width of nothing still shows every character, one a line.
    EXPECT_EQ(TextHandler::numberOfLines("abc de", 0), 5u);
    EXPECT_EQ(TextHandler::numberOfLines("abc de", -10), 5u);
    EXPECT_EQ(TextHandler::numberOfLines("abc de", std::numeric_limits<double>::quiet_NaN()), 5u);
}

TEST(HeaderTextMeasuring, WideScriptsTakeAFullEmAndMarksTakeNoRoom) {
    EXPECT_EQ(TextHandler::advanceOf(U'\u6CE8'), 18.0);
    EXPECT_EQ(TextHandler::advanceOf(U'\u0301'), 0.0);  // combining acute accent
    EXPECT_EQ(TextHandler::advanceOf(U'\u00E9'), 10.0);
    // Twelve ideographs of 18 points need 216 points and may break between any two.
    EXPECT_EQ(TextHandler::numberOfLines(kSamples[5], 216), 1u);
    EXPECT_EQ(TextHandler::numberOfLines(kSamples[5], 215), 2u);
    EXPECT_EQ(TextHandler::numberOfLines(kSamples[5], 36), 6u);
}

TEST(HeaderTextMeasuring, HeightNeverShrinksAsTheWidthShrinks) {
    for (const std::string& text : kSamples) {
        double previous = 0;
        for (double width = 1000; width >= 0; width -= 0.5) {
            const double height = TextHandler::heightOfText(text, width);
            ASSERT_GE(height, previous) << "\"" << text << "\" at width " << width;
            previous = height;
        }
        EXPECT_GT(previous, TextHandler::heightOfText(text, 1000)) << text;
    }
}

TEST(HeaderTextMeasuring, HeightNeverShrinksAsTheTextGrows) {
    for (const std::string& text : kSamples) {
        for (double width : {40.0, 97.0, 180.0, 320.0}) {
            double previous = 0;
            for (std::size_t length = 1; length <= text.size(); ++length) {
                // Whole UTF-8 characters only.
                if (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) continue;
                const double height = TextHandler::heightOfText(text.substr(0, length), width);
                ASSERT_GE(height, previous) << "\"" << text.substr(0, length) << "\" at width " << width;
                previous = height;
            }
        }
    }
}

TEST(HeaderTextMeasuring, TheTableViewsFrameWidthIsTheLineWidth) {
    auto table = std::make_shared<trc::ui::UITableView>();
    const std::string text = kSamples[1];
    table->setFrame({0, 0, 320, 600});
    EXPECT_EQ(TextHandler::heightOfHeaderText(text, *table), TextHandler::heightOfText(text, 320));
    EXPECT_EQ(TextHandler::heightOfHeaderText(text, *table), 43.0);
    table->setFrame({0, 0, 1024, 600});
    EXPECT_EQ(TextHandler::heightOfHeaderText(text, *table), 21.5);
}

}  // namespace
