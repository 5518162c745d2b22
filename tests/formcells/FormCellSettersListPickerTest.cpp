#include <gtest/gtest.h>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "formcells/ListPickerDataSource.h"
#include "formcells/ListPickerRows.h"
#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIColorStyle.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "services/Search.h"

using namespace trc;
using trc::formcells::FormCellSetters;
using trc::formcells::ListPickerDataSource;
using trc::formcells::testing::SetterTest;
using vessa::VUIListPickerFormCell;

namespace {

class ListPickerSetter : public SetterTest {
protected:
    // The build road of a row: defaults, configuration, then the selection
    // in the mode the configuration chose.
    std::shared_ptr<ListPickerDataSource> build(const std::string& json) {
        const core::Dictionary p = params(json);
        FormCellSetters::intiDefaultsetListPickerFormCellView(cell, p);
        FormCellSetters::setListPickerFormCellView(cell, p);
        auto search = std::make_shared<services::Search>(p);
        if (picker()->isDataSourceRequiringUniqueIdentifiers) {
            return FormCellSetters::setListPickerValueByUUID(cell, p, nullptr, search);
        }
        FormCellSetters::setListPickerValueByArray(cell, p, nullptr, search);
        return std::dynamic_pointer_cast<ListPickerDataSource>(picker()->dataSource());
    }
    void update(const std::string& json) { FormCellSetters::updateListPickerListView(cell, params(json)); }
    std::shared_ptr<vessa::VUIListPicker> picker() const { return cell->listPicker(); }
    std::optional<std::string> label() const { return cell->valueLabel()->text; }

    std::shared_ptr<VUIListPickerFormCell> cell = shown<VUIListPickerFormCell>();
};

// ---- Configuration ----------------------------------------------------------------------

TEST_F(ListPickerSetter, WithoutTheFlagItemsAreChosenByIndexWhateverValueHolds) {
    build(R"({"PickerItems": [{"DisplayValue": "A"}], "Value": [{"UniqueId": "a", "DisplayValue": "A"}]})");
    EXPECT_FALSE(picker()->isDataSourceRequiringUniqueIdentifiers);
    EXPECT_TRUE(cell->value().empty());
    EXPECT_EQ(label(), "None");

    build(R"({"IsDataSourceRequiringUniqueIdentifiers": false, "PickerItems": ["x"]})");
    EXPECT_FALSE(picker()->isDataSourceRequiringUniqueIdentifiers);
    build(R"({"IsDataSourceRequiringUniqueIdentifiers": "no", "PickerItems": []})");
    EXPECT_TRUE(picker()->isDataSourceRequiringUniqueIdentifiers) << "present counts";
    EXPECT_TRUE(logged(core::Severity::warn, "no boolean"));
}

TEST_F(ListPickerSetter, AppliesFlagsInOrderSoMultipleSelectionKeepsTheSearchOpen) {
    build(R"({"Search": {"Enabled": true, "BarcodeScanner": true}, "Caption": "Fruit", "PickerPrompt": "Pick one",
              "IsSearchCancelledAfterSelection": true, "AllowMultipleSelection": true, "AllowEmptySelection": false,
              "IsEditable": false, "IsPickerDismissedOnSelection": false, "IsSelectedSectionEnabled": true,
              "Styles": {"Background": "bg", "Caption": "cap", "Value": "val"}})");
    EXPECT_TRUE(picker()->isSearchEnabled);
    EXPECT_TRUE(picker()->isBarcodeScannerEnabled);
    EXPECT_FALSE(picker()->isSearchCancelledAfterSelection);
    EXPECT_TRUE(picker()->isSelectedSectionEnabled);
    EXPECT_EQ(picker()->prompt, "Pick one");
    EXPECT_EQ(picker()->tintColor, vessa::preferredVessaColor(vessa::VUIColorStyle::TintColorDark));
    EXPECT_EQ(cell->keyName(), "Fruit");
    EXPECT_TRUE(cell->allowsMultipleSelection);
    EXPECT_FALSE(cell->allowsEmptySelection);
    EXPECT_FALSE(cell->isEditable());
    EXPECT_FALSE(cell->isPickerDismissedOnSelection);
    EXPECT_EQ(cell->nuiClass + "/" + cell->keyLabel()->nuiClass + "/" + cell->valueLabel()->nuiClass, "bg/cap/val");

    // The same cell shows the next row as a new cell would.
    build(R"({"PickerItems": ["x"]})");
    EXPECT_EQ(cell->keyName(), std::nullopt);
    EXPECT_FALSE(picker()->isSearchEnabled || picker()->isSelectedSectionEnabled || cell->allowsMultipleSelection);
    EXPECT_TRUE(cell->allowsEmptySelection && cell->isEditable() && cell->isPickerDismissedOnSelection);
    EXPECT_EQ(picker()->prompt, std::nullopt);
}

TEST_F(ListPickerSetter, FlagsAndTextsAmongTheValidationPropertiesApplyAsTheRowsOwn) {
    build(R"({"PickerItems": ["x"], "validationProperties": {"AllowMultipleSelection": true, "IsEditable": false,
              "IsSelectedSectionEnabled": true, "PickerPrompt": "Pick", "Caption": "Fruit"}})");
    EXPECT_TRUE(cell->allowsMultipleSelection);
    EXPECT_FALSE(cell->isEditable());
    EXPECT_TRUE(picker()->isSelectedSectionEnabled);
    EXPECT_EQ(picker()->prompt, "Pick");
    EXPECT_EQ(cell->keyName(), "Fruit");

    // A row's own flag that is no boolean, or nothing, gives way to the
    // validation properties' one, on both roads.
    const char* json = R"({"PickerItems": ["x"], "IsSelectedSectionEnabled": "yes", "AllowEmptySelection": null,
                           "validationProperties": {"IsSelectedSectionEnabled": true, "AllowEmptySelection": false}})";
    auto other = shown<VUIListPickerFormCell>();
    build(json);
    FormCellSetters::buildListPickerFormCellView(other, params(json));
    for (const auto& shownCell : {cell, other}) {
        EXPECT_TRUE(shownCell->listPicker()->isSelectedSectionEnabled);
        EXPECT_FALSE(shownCell->allowsEmptySelection);
    }
}

// ---- Selection and items ---------------------------------------------------------------

TEST_F(ListPickerSetter, ByIndexWithTextItemsOrDictionaries) {
    build(R"({"PickerItems": ["Red", "Green"], "Value": []})");
    EXPECT_EQ(label(), "None");
    build(R"({"PickerItems": ["Red", "Green"], "Value": [1]})");
    EXPECT_EQ(cell->value(), std::vector<int>{1});
    EXPECT_EQ(label(), "Green");

    auto source = build(R"({"PickerItems": [{"DisplayValue": "Oak"}, {"DisplayValue": {"Title": "Elm"}}],
                            "Value": [1, 0], "DataPaging": {"ShowLoadingIndicator": true}})");
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(source->isStaticCollection());
    EXPECT_TRUE(source->isLazyLoadingIndicatorEnabled());
    EXPECT_EQ(label(), "Oak, Elm");
    EXPECT_TRUE(cell->valueOptions.empty()) << "the earlier row's titles are gone";
    EXPECT_EQ(picker()->tableView()->registeredClassName("VUIObjectTableViewCell"), "VUIObjectTableViewCell");

    build(R"({"PickerItems": ["Red"]})");
    EXPECT_EQ(picker()->dataSource(), nullptr) << "titles never show another row's items";
    build(R"({"PickerItems": 7, "Value": [0]})");
    EXPECT_TRUE(cell->valueOptions.empty());
    EXPECT_EQ(label(), "None");
}

// "Value" read as indexes: a list holding anything but whole numbers is no
// selection and says nothing of its numbers; a number no item can have is
// left out with a log line, the rest kept in order.
TEST_F(ListPickerSetter, IndexesBeyondAnyItemAreLeftOutAndAListOfOtherValuesIsNoSelection) {
    build(R"({"PickerItems": ["Red", "Green", "Blue"], "Value": [2, -1, 4294967296, 0.0]})");
    EXPECT_EQ(cell->value(), (std::vector<int>{2, 0}));
    EXPECT_EQ(label(), "Blue, Red");
    EXPECT_TRUE(logged(core::Severity::warn, "the index -1 in"));
    EXPECT_TRUE(logged(core::Severity::warn, "the index 4294967296 in"));

    core::internal::Logging::clearCaptured();
    build(R"({"PickerItems": ["Red", "Green"], "Value": [-1, 1, "0"]})");
    EXPECT_TRUE(cell->value().empty());
    EXPECT_EQ(label(), "None");
    EXPECT_FALSE(logged(core::Severity::warn, "the index")) << "no selection, so no index to leave out";
    build(R"({"PickerItems": ["Red", "Green"], "Value": [1]})");
    build(R"({"PickerItems": ["Red", "Green"], "Value": [1, 0.5]})");
    EXPECT_TRUE(cell->value().empty()) << "a fraction is no index either";
}

TEST_F(ListPickerSetter, TitlesStayAsTheRowGaveThemWhenItsListChangesOrTheCellShowsAnotherRow) {
    core::Dictionary row = params(R"({"PickerItems": ["Red", "Green"], "Value": [1]})");
    FormCellSetters::setListPickerValueByArray(cell, row, nullptr, nullptr);
    row.find("PickerItems")->mutableArray()[1] = core::Value("Blue");
    EXPECT_EQ(cell->valueOptions, (std::vector<std::string>{"Red", "Green"}));
    ASSERT_TRUE(cell->pick({1}));
    EXPECT_EQ(label(), "Green");

    build(R"({"PickerItems": ["Oak"], "Value": [0]})");
    EXPECT_EQ(cell->valueOptions, (std::vector<std::string>{"Oak"}));
    EXPECT_EQ(label(), "Oak");
    update(R"({"PickerItems": ["Elm", "Ash"], "Value": [1]})");
    EXPECT_EQ(cell->valueOptions, (std::vector<std::string>{"Elm", "Ash"}));
    EXPECT_EQ(label(), "Ash");
}

// The owner remembers the form of each row's list; a row whose list
// changed since is built from the list as it is now.
TEST_F(ListPickerSetter, ARowIsBuiltFromItsListAsItIsNowThoughItsFormIsRemembered) {
    formcells::ListPickerRows rows;
    core::Dictionary row = params(R"({"PickerItems": ["Red", "Green"], "Value": [1]})");
    auto buildRow = [&] { FormCellSetters::setListPickerValueByArray(cell, row, nullptr, nullptr, &rows); };
    buildRow();
    EXPECT_EQ(label(), "Green");
    // The cell shows another row meanwhile, and lets go of the row's list.
    FormCellSetters::setListPickerValueByArray(cell, params(R"({"PickerItems": ["Oak"]})"), nullptr, nullptr, &rows);

    row.find("PickerItems")->mutableArray()[1] = core::Value(7);
    core::internal::Logging::clearCaptured();
    buildRow();
    EXPECT_TRUE(logged(core::Severity::warn, "neither dictionaries nor texts")) << "a list no longer of texts";
    EXPECT_TRUE(cell->valueOptions.empty());
    EXPECT_EQ(label(), "None");

    row.merge(params(R"({"PickerItems": [{"DisplayValue": "Ash"}, {"DisplayValue": "Elm"}]})"));
    buildRow();
    ASSERT_NE(picker()->dataSource(), nullptr) << "dictionaries take the data source's road";
    EXPECT_EQ(label(), "Elm");

    row.merge(params(R"({"PickerItems": ["Up", "Down"]})"));
    buildRow();
    EXPECT_EQ(picker()->dataSource(), nullptr);
    EXPECT_EQ(label(), "Down");
}

TEST_F(ListPickerSetter, ByUniqueIdentifiersFromItemsOrFromPickedIdentifiers) {
    const std::string items = R"("PickerItems": [{"UniqueId": "a", "DisplayValue": "Ash"},
                                                 {"UniqueId": "b", "DisplayValue": "Beech"}])";
    auto source = build(R"({"IsDataSourceRequiringUniqueIdentifiers": true, )" + items +
                        R"(, "Value": [{"UniqueId": "b", "DisplayValue": "Beech"}, {"DisplayValue": "Cedar"}]})");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(cell->uuidValues, std::vector<std::string>{"b"});
    EXPECT_EQ(label(), "Beech, Cedar");
    EXPECT_EQ(picker()->dataSource(), source);

    // What a person's pick stores in the row reads back the same.
    build(R"({"IsDataSourceRequiringUniqueIdentifiers": true, )" + items + R"(, "Value": ["a", "b"]})");
    EXPECT_EQ(cell->uuidValues, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(label(), "Ash, Beech");

    // No items: nothing to choose from, and nothing left of the earlier row.
    EXPECT_EQ(build(R"({"IsDataSourceRequiringUniqueIdentifiers": true, "Value": ["a"]})"), nullptr);
    EXPECT_EQ(picker()->dataSource(), nullptr);
    EXPECT_EQ(cell->uuidValues, std::vector<std::string>{"a"});
    EXPECT_EQ(label(), "None");
}

// ---- Host updates ---------------------------------------------------------------------------

TEST_F(ListPickerSetter, UpdatesChangeTheSelectionTextOnlyForAValueOfTheMode) {
    build(R"({"PickerItems": [{"DisplayValue": "Oak"}, {"DisplayValue": "Elm"}], "Value": [0]})");
    update(R"({"Value": [1]})");
    EXPECT_EQ(label(), "Elm");
    update(R"({"Value": "Elm", "PickerItems": ["x"]})");
    EXPECT_EQ(label(), "Elm");
    EXPECT_EQ(cell->value(), std::vector<int>{1});
    update(R"({"Value": []})");
    EXPECT_EQ(label(), "None");

    build(R"({"IsDataSourceRequiringUniqueIdentifiers": true,
              "PickerItems": [{"UniqueId": "a", "DisplayValue": "Ash"}], "Value": []})");
    update(R"({"Value": ["a"]})");
    EXPECT_EQ(label(), "Ash");
    EXPECT_EQ(cell->uuidValues, std::vector<std::string>{"a"});
}

TEST_F(ListPickerSetter, NewItemsRestartPagingAndReloadAnOpenPickerOnceAfterTheUpdate) {
    auto source = build(R"({"IsDataSourceRequiringUniqueIdentifiers": true,
                            "PickerItems": [{"UniqueId": "a", "DisplayValue": "Ash"}]})");
    source->hideLazyLoadingIndicator();
    auto screen = std::make_shared<vessa::VUIListPickerTableViewController>(picker());
    window->setRootViewController(ui::UINavigationController::make(screen));
    window->makeKeyAndVisible();
    const int reloads = picker()->reloadDataCount();

    update(R"({"PickerItems": [{"UniqueId": "b", "DisplayValue": "Beech"}]})");
    EXPECT_FALSE(source->allDataLoaded());
    EXPECT_EQ(source->data().size(), 1u);
    EXPECT_EQ(picker()->reloadDataCount(), reloads);
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(picker()->reloadDataCount(), reloads + 1);

    window->setRootViewController(std::make_shared<ui::UIViewController>());
    update(R"({"PickerItems": [{"UniqueId": "c", "DisplayValue": "Cedar"}]})");
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(picker()->reloadDataCount(), reloads + 1) << "a picker not on screen is not reloaded";
    EXPECT_EQ(source->data()[0].get("UniqueId"), core::Value("c"));
}

// The one road a new row takes ends as the two setters leave the cell.
TEST_F(ListPickerSetter, ANewRowEndsAsTheDefaultThenTheSettersLeaveIt) {
    const char* rows[] = {
        "{}",
        R"({"Search": {"Enabled": true, "BarcodeScanner": true}, "Caption": "Fruit", "PickerPrompt": "Pick one",
            "IsSearchCancelledAfterSelection": true, "AllowMultipleSelection": true, "AllowEmptySelection": false,
            "IsPickerDismissedOnSelection": false, "IsSelectedSectionEnabled": true, "IsEditable": false})",
        R"({"IsDataSourceRequiringUniqueIdentifiers": "no", "Caption": 3, "PickerPrompt": null})",
        R"({"IsDataSourceRequiringUniqueIdentifiers": true, "AllowMultipleSelection": false,
            "Styles": {"Background": "b", "Caption": "c", "Value": "v"}})",
    };
    const char* before = R"({"Search": {"Enabled": true}, "Caption": "Before", "PickerPrompt": "Earlier",
                            "IsSelectedSectionEnabled": true, "AllowEmptySelection": false, "IsEditable": false})";
    auto other = shown<VUIListPickerFormCell>();
    for (const char* json : rows) {
        for (const auto& shownCell : {cell, other}) {
            FormCellSetters::intiDefaultsetListPickerFormCellView(shownCell, params(before));
            FormCellSetters::setListPickerFormCellView(shownCell, params(before));
        }
        FormCellSetters::intiDefaultsetListPickerFormCellView(cell, params(json));
        FormCellSetters::setListPickerFormCellView(cell, params(json));
        FormCellSetters::buildListPickerFormCellView(other, params(json));
        const auto &a = *picker(), &b = *other->listPicker();
        EXPECT_EQ(b.isSearchEnabled, a.isSearchEnabled) << json;
        EXPECT_EQ(b.isBarcodeScannerEnabled, a.isBarcodeScannerEnabled) << json;
        EXPECT_EQ(b.isDataSourceRequiringUniqueIdentifiers, a.isDataSourceRequiringUniqueIdentifiers) << json;
        EXPECT_EQ(b.isSelectedSectionEnabled, a.isSelectedSectionEnabled) << json;
        EXPECT_EQ(b.isSearchCancelledAfterSelection, a.isSearchCancelledAfterSelection) << json;
        EXPECT_EQ(b.prompt, a.prompt) << json;
        EXPECT_EQ(b.tintColor, a.tintColor) << json;
        EXPECT_EQ(other->keyName(), cell->keyName()) << json;
        EXPECT_EQ(other->allowsMultipleSelection, cell->allowsMultipleSelection) << json;
        EXPECT_EQ(other->allowsEmptySelection, cell->allowsEmptySelection) << json;
        EXPECT_EQ(other->isPickerDismissedOnSelection, cell->isPickerDismissedOnSelection) << json;
        EXPECT_EQ(other->isEditable(), cell->isEditable()) << json;
        EXPECT_EQ(other->nuiClass, cell->nuiClass) << json;
        EXPECT_EQ(other->keyLabel()->nuiClass, cell->keyLabel()->nuiClass) << json;
        EXPECT_EQ(other->valueLabel()->nuiClass, cell->valueLabel()->nuiClass) << json;
    }
}

}  // namespace
