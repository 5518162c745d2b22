#include "platform/core/TextAssignment.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace trc::core {
namespace {

// A text assigned in the room of the one before: shorter, longer within
// the room, longer than the room, empty, and given from within the text
// itself (a part of it, or all of it); each ends as exactly the text given.
TEST(TextAssignment, EndsAsTheTextGivenWhateverTheOneBefore) {
    struct Case {
        const char* what;
        std::string before;
        std::string given;
    };
    std::string room = "a text of some length";
    room.reserve(64);
    const std::array<Case, 5> cases{{
        {"shorter", room, "short"},
        {"longer, in the room", "short", "a caption longer than the one before"},
        {"longer than the room", "short", std::string(200, 'x')},
        {"empty", room, ""},
        {"to empty", "", "from nothing"},
    }};
    for (const Case& c : cases) {
        std::string text = c.before;
        text.reserve(64);
        assignText(text, c.given);
        EXPECT_EQ(text, c.given) << c.what;
        EXPECT_EQ(text.c_str()[text.size()], '\0') << c.what;
    }

    std::string self = "0123456789abcdef, longer than the short room";
    assignText(self, std::string_view(self).substr(3, 5));
    EXPECT_EQ(self, "34567") << "a part of itself";
    assignText(self, self);
    EXPECT_EQ(self, "34567") << "all of itself";
    std::string tail = "prefix and tail";
    assignText(tail, std::string_view(tail).substr(7));
    EXPECT_EQ(tail, "and tail") << "its own end, overlapping where it lands";

    std::optional<std::string> none;
    assignText(none, std::string_view("made"));
    EXPECT_EQ(none, "made");
    assignText(none, std::nullopt);
    EXPECT_FALSE(none.has_value());
}

}  // namespace
}  // namespace trc::core
