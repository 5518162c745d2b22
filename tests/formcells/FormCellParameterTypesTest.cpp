#include "formcells/internal/FormCellParameterTypes.h"

#include <gtest/gtest.h>

#include "formcells/FormTestSupport.h"

namespace trc::formcells {
namespace {

using testing::logged;
using testing::params;

class UpdateTypes : public testing::FreshProcessTest {};

// A row, an update of one key, and whether the update's value is taken.
struct Case {
    const char* row;
    const char* update;
    bool taken;
};

TEST_F(UpdateTypes, EachKindTakesOnlyValuesItsSettersRead) {
    const Case cases[] = {
        // list picker chosen by index: items as dictionaries or texts, indexes as numbers without fraction
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"PickerItems": [{"DisplayValue": "A"}]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"PickerItems": ["A", "B"]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"PickerItems": "not a list"})", false},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"PickerItems": ["A", {"DisplayValue": "B"}]})", false},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"Value": [0, 2.0]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"Value": [0, 1.5]})", false},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"Value": ["u1"]})", false},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"Value": []})", true},
        // chosen by unique identifier: items as dictionaries, the selection as items or identifiers
        {R"({"_Type": "Control.Type.FormCell.ListPicker", "IsDataSourceRequiringUniqueIdentifiers": true})",
         R"({"PickerItems": ["A"]})", false},
        {R"({"_Type": "Control.Type.FormCell.ListPicker", "IsDataSourceRequiringUniqueIdentifiers": true})",
         R"({"Value": ["u1"]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker", "IsDataSourceRequiringUniqueIdentifiers": true})",
         R"({"Value": [{"UniqueId": "u1"}]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker", "IsDataSourceRequiringUniqueIdentifiers": true})",
         R"({"Value": [1]})", false},
        // the update's own choice of mode counts; a wrong-typed one does not
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})",
         R"({"IsDataSourceRequiringUniqueIdentifiers": true, "Value": ["u1"]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker", "IsDataSourceRequiringUniqueIdentifiers": "yes"})",
         R"({"Value": ["u1"]})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"Search": "on"})", false},
        {R"({"_Type": "Control.Type.FormCell.Filter"})", R"({"FilterItems": ["A", "B"]})", true},
        {R"({"_Type": "Control.Type.FormCell.Filter"})", R"({"FilterItems": "A"})", false},
        {R"({"_Type": "Control.Type.FormCell.Filter"})", R"({"Value": "1"})", false},
        {R"({"_Type": "Control.Type.FormCell.Sorter"})", R"({"SortByItems": [1, 2]})", false},
        {R"({"_Type": "Control.Type.FormCell.Sorter"})", R"({"Value": [true]})", false},
        {R"({"_Type": "Control.Type.FormCell.Sorter"})", R"({"FilterItems": "a sorter reads no filter items"})", true},
        {R"({"_Type": "Control.Type.FormCell.SegmentedControl"})", R"({"Segments": ["only", 7]})", false},
        {R"({"_Type": "Control.Type.FormCell.SegmentedControl"})", R"({"Value": "1"})", false},
        {R"({"_Type": "Control.Type.FormCell.SegmentedControl"})", R"({"Value": 1.0})", true},
        {R"({"_Type": "Control.Type.FormCell.Attachment"})", R"({"Value": "x"})", false},
        {R"({"_Type": "Control.Type.FormCell.Attachment"})", R"({"AttachmentActionType": "AddPhoto"})", false},
        {R"({"_Type": "Control.Type.FormCell.DatePicker"})", R"({"Value": "2026-01-31T10:00:00Z"})", true},
        {R"({"_Type": "Control.Type.FormCell.DatePicker"})", R"({"Value": "31.01.2026"})", false},
        {R"({"_Type": "Control.Type.FormCell.DurationPicker"})", R"({"Value": 90.5, "MinuteInterval": 15})", true},
        {R"({"_Type": "Control.Type.FormCell.DurationPicker"})", R"({"Value": "90"})", false},
        {R"({"_Type": "Control.Type.FormCell.Switch"})", R"({"Value": 1})", false},
        {R"({"_Type": "Control.Type.FormCell.Note"})", R"({"MaxNumberOfLines": "3"})", false},
        {R"({"_Type": "Control.Type.FormCell.SignatureCapture"})", R"({"Value": "signed"})", false},
        {R"({"_Type": "Control.Type.FormCell.Extension"})", R"({"Height": "tall"})", false},
        {R"({"_Type": "Control.Type.FormCell.Title"})", R"({"IsEditable": "no"})", false},
        // texts take any value, as the setters show it; nil takes the value away
        {R"({"_Type": "Control.Type.FormCell.Title"})", R"({"Value": 42, "Caption": true})", true},
        {R"({"_Type": "Control.Type.FormCell.ListPicker"})", R"({"PickerItems": null})", true},
        // an update that makes the row another kind is read as that kind
        {R"({"_Type": "Control.Type.FormCell.Switch"})",
         R"({"_Type": "Control.Type.FormCell.SegmentedControl", "Value": 2})", true},
        // a row of no kind takes anything
        {R"({"_Type": "Control.Type.FormCell.Nothing"})", R"({"Value": [true]})", true},
    };
    for (const Case& c : cases) {
        core::internal::Logging::clearCaptured();
        const core::Dictionary stored = params(c.row);
        const core::Dictionary update = params(c.update);
        core::Dictionary scratch;
        const core::Dictionary& accepted = internal::FormCellParameterTypes::accepted(stored, update, scratch);
        EXPECT_EQ(&accepted == &update, c.taken) << c.row << " " << c.update;
        EXPECT_EQ(logged(core::Severity::warn, "the row keeps what it had"), !c.taken) << c.update;
        if (!c.taken) {
            EXPECT_LT(accepted.size(), update.size()) << c.update;
        }
    }
}

TEST_F(UpdateTypes, OnlyTheWrongTypedValueIsLeftOutAndTheRowIsNamed) {
    const core::Dictionary stored = params(R"({"_Type": "Control.Type.FormCell.Filter", "_Name": "kinds"})");
    const core::Dictionary update = params(R"({"FilterItems": "not a list", "Caption": "Kinds", "Value": [1]})");
    core::Dictionary scratch;
    const core::Dictionary& accepted = internal::FormCellParameterTypes::accepted(stored, update, scratch);
    EXPECT_EQ(accepted, params(R"({"Caption": "Kinds", "Value": [1]})"));
    EXPECT_TRUE(logged(core::Severity::warn, R"(update of row "kinds": "FilterItems" takes a list of texts, not)"));
    ASSERT_EQ(core::internal::Logging::captured().size(), 1u);
    EXPECT_EQ(core::internal::Logging::captured()[0].logger, core::SharedLoggerManager::kTRCLogger);
}

// The row is named as it is once updated: a text "_Name" in the update
// names it, else the stored one, else it goes unnamed.
TEST_F(UpdateTypes, ARefusalNamesTheRowByTheNameItWillHave) {
    struct Case {
        const char* stored;
        const char* update;
        const char* named;
    };
    const Case cases[] = {
        {R"({"_Type": "Control.Type.FormCell.Switch", "_Name": "old"})", R"({"_Name": "new", "Value": 1})",
         R"(update of row "new": "Value")"},
        {R"({"_Type": "Control.Type.FormCell.Switch", "_Name": "old"})", R"({"_Name": 5, "Value": 1})",
         R"(update of row "old": "Value")"},
        {R"({"_Type": "Control.Type.FormCell.Switch"})", R"({"Value": 1})", R"(update of row "": "Value")"},
    };
    for (const Case& c : cases) {
        core::internal::Logging::clearCaptured();
        const core::Dictionary stored = params(c.stored);
        const core::Dictionary update = params(c.update);
        core::Dictionary scratch;
        EXPECT_FALSE(internal::FormCellParameterTypes::accepted(stored, update, scratch).contains("Value"));
        EXPECT_TRUE(logged(core::Severity::warn, c.named)) << c.update;
    }
}

TEST_F(UpdateTypes, WrongTypedEntriesOfADictionaryKeepWhatTheRowHad) {
    const core::Dictionary stored = params(R"({"_Type": "Control.Type.FormCell.ListPicker",
        "Search": {"Enabled": true, "Delay": 500},
        "Styles": {"Background": "row"},
        "validationProperties": {"ValidationViewIsHidden": false}})");
    const core::Dictionary update = params(R"({
        "Search": {"Enabled": "yes", "Delay": 250, "MinimumCharacterThreshold": "3"},
        "Styles": {"Background": 7, "Caption": "caption", "Custom": 1},
        "validationProperties": {"ValidationMessage": "Required", "ValidationViewIsHidden": "no"}})");
    core::Dictionary scratch;
    const core::Dictionary& accepted = internal::FormCellParameterTypes::accepted(stored, update, scratch);
    EXPECT_EQ(accepted.get("Search"), core::Value(params(R"({"Enabled": true, "Delay": 250})")));
    EXPECT_EQ(accepted.get("Styles"),
              core::Value(params(R"({"Background": "row", "Caption": "caption", "Custom": 1})")))
        << "entries no setter reads are the host's own";
    EXPECT_EQ(accepted.get("validationProperties"),
              core::Value(params(R"({"ValidationMessage": "Required", "ValidationViewIsHidden": false})")));
    EXPECT_TRUE(logged(core::Severity::warn, R"("Search/Enabled" takes a boolean)"));
}

TEST_F(UpdateTypes, ALongValueIsCutShortInTheLog) {
    const core::Dictionary stored = params(R"({"_Type": "Control.Type.FormCell.SegmentedControl"})");
    core::Array segments(500, core::Value(7));
    core::Dictionary update;
    update.set("Segments", core::Value(segments));
    core::Dictionary scratch;
    EXPECT_TRUE(internal::FormCellParameterTypes::accepted(stored, update, scratch).empty());
    ASSERT_EQ(core::internal::Logging::captured().size(), 1u);
    EXPECT_LT(core::internal::Logging::captured()[0].message.size(), 300u);
}

}  // namespace
}  // namespace trc::formcells
