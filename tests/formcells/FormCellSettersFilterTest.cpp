#include <gtest/gtest.h>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "formcells/OptionTitleLists.h"
#include "platform/vessa/VUIFilterFormCell.h"

namespace trc::formcells {
namespace {

using testing::SetterTest;
using vessa::VUIFilterFormCell;
using Options = std::vector<std::string>;
using Indexes = std::vector<int>;

class FilterSetter : public SetterTest {
protected:
    // A row built anew: the default first, then the row's keys.
    void build(const std::string& json, bool sorter) {
        FormCellSetters::initDefaultFilterFormCellView(cell, params(json), sorter);
        FormCellSetters::setFilterFormCellView(cell, params(json), sorter);
    }
    void update(const std::string& json, bool sorter) {
        FormCellSetters::setFilterFormCellView(cell, params(json), sorter);
    }

    std::shared_ptr<VUIFilterFormCell> cell = shown<VUIFilterFormCell>();
};

// ---- Options ---------------------------------------------------------------------------

class FilterOptions : public FilterSetter {};

TEST_F(FilterOptions, EachKindReadsOnlyItsOwnItemKey) {
    const std::string both = R"({"FilterItems": ["Open", "Closed"], "SortByItems": ["Date"]})";
    build(both, false);
    EXPECT_EQ(cell->valueOptions, (Options{"Open", "Closed"}));
    build(both, true);
    EXPECT_EQ(cell->valueOptions, (Options{"Date"}));
}

TEST_F(FilterOptions, ANewRowWithoutAListOfStringsOfItsKindShowsOneUntitledOption) {
    for (const char* json :
         {R"({"SortByItems": ["Date"]})", R"({"FilterItems": "Open"})", R"({"FilterItems": ["Open", 1]})", "{}"}) {
        cell->valueOptions = {"left", "over"};
        build(json, false);
        EXPECT_EQ(cell->valueOptions, (Options{""})) << json;
    }
    build(R"({"FilterItems": ["Open"]})", true);
    EXPECT_EQ(cell->valueOptions, (Options{""}));
}

TEST_F(FilterOptions, AnUpdateWithItemsOfTheWrongTypeKeepsTheOptions) {
    build(R"({"FilterItems": ["Open", "Closed"]})", false);
    update(R"({"FilterItems": [true]})", false);
    update(R"({"SortByItems": ["Date"]})", false);
    EXPECT_EQ(cell->valueOptions, (Options{"Open", "Closed"}));
}

TEST_F(FilterOptions, OptionsStayAsTheRowGaveThemWhenItsListChangesOrTheCellShowsAnotherRow) {
    core::Dictionary row = params(R"({"FilterItems": ["Open", "Closed"]})");
    FormCellSetters::initDefaultFilterFormCellView(cell, row, false);
    FormCellSetters::setFilterFormCellView(cell, row, false);
    row.find("FilterItems")->mutableArray()[0] = core::Value("Gone");
    EXPECT_EQ(cell->valueOptions, (Options{"Open", "Closed"}));

    build(R"({"SortByItems": ["Date", "Owner"]})", true);
    EXPECT_EQ(cell->valueOptions, (Options{"Date", "Owner"}));
    update(R"({"SortByItems": []})", true);
    EXPECT_TRUE(cell->valueOptions.empty());
    build("{}", true);
    EXPECT_EQ(cell->valueOptions, (Options{""}));
}

// A reused cell built for a row with as many options, of texts as long,
// offers the new row's texts and selection; the host's later change to the
// first row's list reaches neither row.
TEST_F(FilterOptions, AReusedCellOffersTheNewRowsOptionsOfTheSameCount) {
    for (bool sorter : {false, true}) {
        const std::string key = sorter ? "SortByItems" : "FilterItems";
        core::Dictionary first =
            params(R"({")" + key + R"(": ["Created by the owner", "Changed by the owner"], "Value": [0]})");
        FormCellSetters::buildFilterFormCellView(cell, first, sorter);
        EXPECT_EQ(cell->valueOptions, (Options{"Created by the owner", "Changed by the owner"}));
        first.find(key)->mutableArray()[1] = core::Value("Changed later by the host");
        FormCellSetters::buildFilterFormCellView(
            cell, params(R"({")" + key + R"(": ["Created by the owners", "Changed by the owner!"], "Value": [1]})"),
            sorter);
        EXPECT_EQ(cell->valueOptions, (Options{"Created by the owners", "Changed by the owner!"})) << key;
        EXPECT_EQ(cell->value, (Indexes{1})) << key;
        FormCellSetters::buildFilterFormCellView(cell, first, sorter);
        EXPECT_EQ(cell->valueOptions, (Options{"Created by the owner", "Changed later by the host"})) << key;
        EXPECT_EQ(cell->value, (Indexes{0})) << key;
    }
}

// ---- Selection mode and selection -----------------------------------------------------------

class FilterSelection : public FilterSetter {};

TEST_F(FilterSelection, ASorterAllowsOneSelectionWhateverTheHostSays) {
    build(R"({"SortByItems": ["Date", "Name", "Size"], "AllowMultipleSelection": true})", true);
    EXPECT_FALSE(cell->allowsMultipleSelection);
    ASSERT_TRUE(cell->tapOption(0));
    ASSERT_TRUE(cell->tapOption(2));
    EXPECT_EQ(cell->value, (Indexes{2}));
    EXPECT_FALSE(cell->pick({0, 1}));
}

TEST_F(FilterSelection, AFilterUpdateWithoutTheKeyKeepsTheModeASorterUpdateAlwaysResetsIt) {
    build(R"({"FilterItems": ["Open", "Closed"], "AllowMultipleSelection": true})", false);
    update(R"({"Caption": "State"})", false);
    EXPECT_TRUE(cell->allowsMultipleSelection);
    ASSERT_TRUE(cell->tapOption(0));
    ASSERT_TRUE(cell->tapOption(1));
    EXPECT_EQ(cell->value, (Indexes{0, 1}));
    update(R"({"AllowMultipleSelection": false})", false);
    EXPECT_FALSE(cell->allowsMultipleSelection);

    cell->allowsMultipleSelection = true;
    update(R"({"Caption": "Order"})", true);
    EXPECT_FALSE(cell->allowsMultipleSelection);
}

TEST_F(FilterSelection, ANewRowOnAReusedCellStartsWithTheRulesOfAFreshCell) {
    build(R"({"FilterItems": ["a", "b", "c"], "AllowMultipleSelection": true, "Value": [0, 2],
              "AllowEmptySelection": false, "IsEditable": false})",
          false);
    build(R"({"FilterItems": ["x", "y", "z"]})", false);
    EXPECT_TRUE(cell->value.empty());
    EXPECT_FALSE(cell->allowsMultipleSelection);
    EXPECT_TRUE(cell->allowsEmptySelection);
    EXPECT_TRUE(cell->isEditable());
    build(R"({"FilterItems": ["x", "y"], "AllowMultipleSelection": true, "Value": [1]})", false);
    EXPECT_EQ(cell->value, (Indexes{1}));
    EXPECT_TRUE(cell->allowsMultipleSelection);
}

TEST_F(FilterSelection, AValueThatIsNoListOfCellIndexesLeavesTheSelection) {
    // Indexes beyond the options are the cell's to judge; they pass as given.
    build(R"({"FilterItems": ["a", "b"], "Value": [5, -1]})", false);
    EXPECT_EQ(cell->value, (Indexes{5, -1}));
    update(R"({"Value": [1.0]})", false);
    EXPECT_EQ(cell->value, (Indexes{1}));
    for (const char* json : {R"({"Value": [0, 4294967297]})", R"({"Value": ["0"]})", R"({"Value": 0})",
                             R"({"Value": [true]})", R"({"Value": [0.5]})"}) {
        update(json, false);
        EXPECT_EQ(cell->value, (Indexes{1})) << json;
    }
    EXPECT_TRUE(logged(core::Severity::warn, "4294967297"));

    // A list that is no list of numbers says nothing of the numbers in it.
    core::internal::Logging::clearCaptured();
    update(R"({"Value": [0, 4294967298, "1"]})", false);
    EXPECT_EQ(cell->value, (Indexes{1}));
    EXPECT_FALSE(logged(core::Severity::warn, "4294967298"));
}

// ---- Caption, editing and styles ---------------------------------------------------------------------

class FilterLooks : public FilterSetter {};

TEST_F(FilterLooks, CaptionEditingEmptySelectionAndStylesApplyAndAbsentKeysLeaveThem) {
    build(R"({"FilterItems": ["a", "b"], "Caption": "State", "IsEditable": false, "AllowEmptySelection": false,
              "Styles": {"Background": "bg", "Caption": "cap", "Value": "ignored"}})",
          false);
    EXPECT_EQ(cell->keyName(), "State");
    EXPECT_FALSE(cell->isEditable());
    EXPECT_FALSE(cell->allowsEmptySelection);
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->keyLabel()->nuiClass, "cap");

    update(R"({"Styles": {"Value": "other"}, "IsEditable": "no"})", false);
    EXPECT_EQ(cell->keyName(), "State");
    EXPECT_FALSE(cell->isEditable());
    EXPECT_FALSE(cell->allowsEmptySelection);
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->keyLabel()->nuiClass, "cap");
}

// ---- One road for a new row --------------------------------------------------------------

class FilterBuild : public FilterSetter {};

TEST_F(FilterBuild, ANewRowEndsAsTheDefaultThenTheSettersLeaveIt) {
    const char* rows[] = {
        "{}",
        R"({"FilterItems": ["Open", "Closed"], "Value": [1], "Caption": "State", "AllowMultipleSelection": true})",
        R"({"FilterItems": [], "AllowEmptySelection": false, "IsEditable": false})",
        R"({"FilterItems": null, "Value": [0, 7]})",
        R"({"FilterItems": ["Open", 1], "Value": [99999999999]})",
        R"({"FilterItems": "Open", "Value": "1"})",
        R"({"SortByItems": ["Date", "Owner"], "Value": [1], "AllowMultipleSelection": true})",
        R"({"SortByItems": ["Date"], "Styles": {"Background": "b", "Caption": "c"}})",
    };
    auto other = shown<VUIFilterFormCell>();
    const std::string before = R"({"FilterItems": ["Left", "Over"], "Value": [0, 1], "AllowMultipleSelection": true,
                                   "AllowEmptySelection": false, "IsEditable": false, "Caption": "Before"})";
    for (bool sorter : {false, true}) {
        for (const char* json : rows) {
            build(before, false);
            FormCellSetters::initDefaultFilterFormCellView(other, params(before), false);
            FormCellSetters::setFilterFormCellView(other, params(before), false);

            build(json, sorter);
            FormCellSetters::buildFilterFormCellView(other, params(json), sorter);
            const std::string row = std::string(json) + (sorter ? " (sorter)" : " (filter)");
            EXPECT_EQ(other->valueOptions.value(), cell->valueOptions.value()) << row;
            EXPECT_EQ(other->value, cell->value) << row;
            EXPECT_EQ(other->allowsMultipleSelection, cell->allowsMultipleSelection) << row;
            EXPECT_EQ(other->allowsEmptySelection, cell->allowsEmptySelection) << row;
            EXPECT_EQ(other->isEditable(), cell->isEditable()) << row;
            EXPECT_EQ(other->keyName(), cell->keyName()) << row;
            EXPECT_EQ(other->nuiClass, cell->nuiClass) << row;
            EXPECT_EQ(other->keyLabel()->nuiClass, cell->keyLabel()->nuiClass) << row;
        }
    }
    FormCellSetters::buildFilterFormCellView(nullptr, params("{}"), false);  // no cell: nothing to do
}

// Built with the owner's memory of its lists, a row offers what a row built
// without it offers, each list asked about twice (the second time from the
// memory), whatever the lists were before.
TEST_F(FilterBuild, TheOwnersMemoryOfListsOffersWhatTheItemsSay) {
    const char* rows[] = {
        R"({"FilterItems": ["Open", "Closed"]})",
        R"({"FilterItems": []})",
        R"({"FilterItems": [{}, {}]})",
        R"({"FilterItems": [{}]})",
        R"({"FilterItems": ["Open", 1]})",
        R"({"FilterItems": [1, "Open"]})",
        R"({"FilterItems": "Open"})",
        R"({"FilterItems": null})",
        R"({"FilterItems": [""]})",
    };
    OptionTitleLists lists;
    auto other = shown<VUIFilterFormCell>();
    std::vector<core::Dictionary> kept;
    for (const char* json : rows) kept.push_back(params(json));
    for (int asked = 0; asked < 2; ++asked) {
        for (std::size_t row = 0; row < kept.size(); ++row) {
            for (const core::Dictionary& before : kept) {
                FormCellSetters::buildFilterFormCellView(cell, before, false);
                FormCellSetters::buildFilterFormCellView(other, before, false, &lists);
                FormCellSetters::buildFilterFormCellView(cell, kept[row], false);
                FormCellSetters::buildFilterFormCellView(other, kept[row], false, &lists);
                ASSERT_EQ(other->valueOptions.value(), cell->valueOptions.value()) << rows[row];
            }
        }
    }
}

// A list of texts freed leaves its address to the next list of its size;
// the memory must not offer a new list of other items as texts, nor a list
// changed in place by the host.
TEST_F(FilterBuild, TheOwnersMemoryIsNeverFooledByANewListWhereAnOldOneWas) {
    OptionTitleLists lists;
    for (int round = 0; round < 8; ++round) {
        FormCellSetters::buildFilterFormCellView(cell, params(R"({"FilterItems": ["Open", "Closed"]})"), false, &lists);
        ASSERT_EQ(cell->valueOptions, (Options{"Open", "Closed"}));
        FormCellSetters::buildFilterFormCellView(cell, params(R"({"FilterItems": ["Open", 2]})"), false, &lists);
        EXPECT_EQ(cell->valueOptions, (Options{""})) << round;
        FormCellSetters::buildFilterFormCellView(cell, params(R"({"FilterItems": [{}, {}]})"), false, &lists);
        EXPECT_EQ(cell->valueOptions, (Options{""})) << round;
    }
    core::Dictionary row = params(R"({"SortByItems": ["Date", "Owner"]})");
    FormCellSetters::buildFilterFormCellView(cell, row, true, &lists);
    row.find("SortByItems")->mutableArray()[1] = core::Value(7);
    FormCellSetters::buildFilterFormCellView(cell, row, true, &lists);
    EXPECT_EQ(cell->valueOptions, (Options{""}));
    row.find("SortByItems")->mutableArray()[1] = core::Value("Place");
    FormCellSetters::buildFilterFormCellView(cell, row, true, &lists);
    EXPECT_EQ(cell->valueOptions, (Options{"Date", "Place"}));
}

}  // namespace
}  // namespace trc::formcells
