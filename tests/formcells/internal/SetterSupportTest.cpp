#include "formcells/internal/SetterSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trc::formcells::internal {
namespace {

using Keys = SetterSupport::RowKeys;

// A key a row holds is never ruled out, whatever its text: ruling one out
// would make a setter skip what the host gave.
TEST(SetterSupportRowKeys, NeverRulesOutAKeyTheRowHolds) {
    core::Dictionary row;
    for (int i = 0; i < 500; ++i) {
        std::string key = std::string(static_cast<std::size_t>(i % 37), static_cast<char>('A' + i % 53)) +
                          std::to_string(i * 7919) + (i % 3 == 0 ? "\xC3\xA9" : "");
        if (i % 11 == 0) key.clear();
        row.set(key, core::Value(i));
        const Keys keys(row);
        for (const auto& [held, value] : row) EXPECT_TRUE(keys.mayHave(held)) << held;
    }
}

TEST(SetterSupportRowKeys, RulesOutKeysOfAShortRowAndReadsValidationPropertiesWhenTheRowHasThem) {
    const core::Dictionary row{{"_Type", core::Value("t")},
                               {"_Name", core::Value("n")},
                               {"Caption", core::Value("c")},
                               {"Value", core::Value(1)}};
    const Keys keys(row);
    EXPECT_FALSE(keys.mayHave("IsEditable"));
    EXPECT_FALSE(keys.mayRead("IsEditable"));
    EXPECT_FALSE(keys.mayHave("validationProperties"));

    core::Dictionary withProperties = row;
    withProperties.set("validationProperties", core::Value(core::Dictionary{{"IsEditable", core::Value(false)}}));
    const Keys more(withProperties);
    EXPECT_FALSE(more.mayHave("IsEditable"));
    EXPECT_TRUE(more.mayRead("IsEditable")) << "a flag may be among the validation properties";
}

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
