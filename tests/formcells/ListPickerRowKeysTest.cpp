#include "formcells/ListPickerRowKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Dictionary.h"

namespace trc::formcells {
namespace {

using core::Dictionary;
using core::Value;

// The one pass tells keys apart by their length first: every key of the
// four lengths that is not one of the four (a neighbour in byte order, one
// byte off at either end, another case) must be passed over, and each of the
// four found wherever it sorts, in a short and a long dictionary, present or
// not, holding null or not, exactly as find finds it.
TEST(ListPickerRowKeys, FindsWhatFindFindsForEachKey) {
    const std::vector<std::string> lookAlikes = {"_Type",       "_Namf",      "^Name",   "value",    "Valud",
                                                 "Value ",      "Captio",     "caption", "CaptioN",  "PickerItemz",
                                                 "pickerItems", "PickerItem", "",        "IsVisible"};
    const std::vector<std::vector<std::string>> present = {
        {}, {"_Name"}, {"Value"}, {"Caption", "PickerItems"}, {"_Name", "Caption", "PickerItems", "Value"}};
    for (const auto& keys : present) {
        for (std::size_t others : {std::size_t{0}, std::size_t{3}, lookAlikes.size()}) {
            Dictionary row;
            for (std::size_t i = 0; i < others; ++i) row.set(lookAlikes[i], static_cast<int>(i));
            for (const auto& key : keys) row.set(key, key == "Value" ? Value::null() : Value(key + " of the row"));
            const ListPickerRowKeys found = ListPickerRowKeys::of(row);
            const std::string where = std::to_string(keys.size()) + " keys, " + std::to_string(others) + " others";
            EXPECT_EQ(found.name, row.find("_Name")) << where;
            EXPECT_EQ(found.caption, row.find("Caption")) << where;
            EXPECT_EQ(found.pickerItems, row.find("PickerItems")) << where;
            EXPECT_EQ(found.value, row.find("Value")) << where;
        }
    }
}

}  // namespace
}  // namespace trc::formcells
