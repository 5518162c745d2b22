#include "formcells/internal/SetterSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trc::formcells::internal {
namespace {

core::Array strings(std::initializer_list<const char*> texts) {
    core::Array out;
    for (const char* t : texts) out.emplace_back(std::string(t));
    return out;
}

// A reused cell's titles go from list to list; whatever room is passed
// around, each list must come out exactly as given, empties taken out.
TEST(SetterSupportStrings, ReusedTitlesAlwaysShowTheListGivenWithoutItsEmptyStrings) {
    struct Case {
        core::Array list;
        std::vector<std::string> shown;
    };
    const std::string longText(200, 'x');
    const std::vector<Case> cases = {
        {strings({"Low", "", "High"}), {"Low", "High"}},
        {strings({"One", "Two", "Three", "Four", "Five"}), {"One", "Two", "Three", "Four", "Five"}},
        {strings({"", ""}), {}},
        {strings({"A", longText.c_str(), "", "B", "C", "D", "E", "F", "G", "H"}),
         {"A", longText, "B", "C", "D", "E", "F", "G", "H"}},
        {strings({"", "Only"}), {"Only"}},
        {strings({}), {}},
    };
    std::vector<std::string> first;
    std::vector<std::string> second;
    SetterSupport::reserveStrings(first, 8);
    EXPECT_GE(first.capacity(), 8u);
    for (const auto& c : cases) {
        for (auto* out : {&first, &second}) {
            SetterSupport::reserveStrings(*out, 8);
            SetterSupport::assignStrings(c.list, *out);
            SetterSupport::dropEmptyStrings(*out);
            EXPECT_EQ(*out, c.shown);
        }
    }
}

}  // namespace
}  // namespace trc::formcells::internal
