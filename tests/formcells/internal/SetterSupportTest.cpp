#include "formcells/internal/SetterSupport.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace trc::formcells::internal
