#include "formcells/FormCellContainerViewController.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "formcells/FormCellItemDelegate.h"
#include "formcells/FormTestSupport.h"
#include "formcells/NavigationStatusBarStyle.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIStatusBarStyleHelper.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITableViewHeaderFooterView.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::RecordingDelegate;

class FormTest : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        window->makeKeyAndVisible();
        dispatch::MainQueue::shared().runUntilIdle();
    }

    // A form announcing these row counts, one unnamed section per count.
    void announce(std::vector<int> counts) {
        testing::announce(*form, counts);
        form->sectionNames.assign(counts.size(), "");
    }
    // Adds a cell named after its position; its delegate is kept in `delegates`.
    void add(const std::string& type, const std::string& extra = "") {
        const std::string name = "c" + std::to_string(added++);
        delegates[name] = testing::reportingDelegate();
        form->addFormCell(params("{\"_Type\": \"Control.Type.FormCell." + type + "\", \"_Name\": \"" + name + "\"" +
                                 (extra.empty() ? "" : ", " + extra) + "}"),
                          delegates[name]);
    }
    void show(std::optional<int> rowsOnScreen = std::nullopt) {
        window->setRootViewController(form);
        dispatch::MainQueue::shared().runUntilIdle();
        table()->setRowsOnScreen(rowsOnScreen);
        table()->layoutIfNeeded();
    }
    std::shared_ptr<ui::UITableView> table() { return form->tableView(); }
    core::Value stored(int section, int row) {
        const core::Value cells = form->getCellTypesForSection().get(std::to_string(section));
        const auto* list = cells.ifArray();
        return list && row < static_cast<int>(list->size()) ? (*list)[static_cast<std::size_t>(row)] : core::Value();
    }
    template <class Cell>
    std::shared_ptr<Cell> cellAt(int section, int row) {
        return std::dynamic_pointer_cast<Cell>(table()->cellForRow({section, row}));
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<FormCellContainerViewController> form = std::make_shared<FormCellContainerViewController>();
    std::map<std::string, std::shared_ptr<RecordingDelegate>> delegates;
    int added = 0;
};

// ---- Cells into sections, visibility --------------------------------------------

class FormSections : public FormTest {};

TEST_F(FormSections, CellsFillTheAnnouncedSectionsInOrder) {
    announce({2, 1});
    add("Title"), add("Switch"), add("Note");
    show();
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{2, 1}));
    EXPECT_NE(cellAt<vessa::VUISwitchFormCell>(0, 1), nullptr);
}

TEST_F(FormSections, AnEmptyAnnouncedSectionIsSkipped) {
    announce({2, 0, 1});
    add("Title"), add("Title"), add("Switch");
    show();
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{2, 0, 1}));
    EXPECT_NE(cellAt<vessa::VUISwitchFormCell>(2, 0), nullptr);
}

// Where the cell numbered `cell` (from 1) goes: the first section whose
// count, summed with those before it, reaches the number; past every count
// the last section.
int expectedSection(const std::vector<int>& counts, int cell) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        sum += counts[i];
        if (sum >= cell) return static_cast<int>(i);
    }
    return counts.empty() ? 0 : static_cast<int>(counts.size()) - 1;
}

// Each cell lands where the rule puts it, whatever the number of sections
// before it, with empty and negative counts, past every count, and after
// the host announces other counts between two cells.
TEST_F(FormSections, EveryCellLandsInTheSectionItsNumberReaches) {
    struct Case {
        const char* name;
        std::vector<int> counts;
        int cells;
        std::vector<int> countsAfterHalf;  // announced by the host once half the cells are in; none when empty
    } cases[] = {
        {"one row each", std::vector<int>(300, 1), 300, {}},
        {"empty and negative", {2, -1, 0, 2, 0, 3, -5, 4}, 12, {}},
        {"past every count", {1, 2}, 6, {}},
        {"counts announced anew", {2, 2, 2, 2}, 8, {1, 1, 5, 1}},
        {"fewer sections announced", {1, 1, 1, 1, 1, 1}, 6, {4, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_shared<FormCellContainerViewController>();
        announce(c.counts);
        std::vector<int> counts = c.counts;
        std::map<int, int> expected;
        for (int cell = 1; cell <= c.cells; ++cell) {
            if (cell == c.cells / 2 + 1 && !c.countsAfterHalf.empty()) {
                counts = c.countsAfterHalf;
                core::Array announced;
                for (int n : counts) announced.emplace_back(n);
                ASSERT_TRUE(form->announceNumberOfRowsInSection(core::Value(announced), "test"));
            }
            ++expected[expectedSection(counts, cell)];
            add("Title");
        }
        const core::Dictionary stored = form->getCellTypesForSection();
        std::map<int, int> placed;
        for (const auto& [section, cells] : stored)
            placed[std::stoi(section)] = static_cast<int>(cells.ifArray()->size());
        EXPECT_EQ(placed, expected);
    }
}

// A host that announces the count of the section being filled anew, a cell
// at a time, keeps every cell in it.
TEST_F(FormSections, ASectionAnnouncedAnewForEachCellKeepsTakingCells) {
    for (int i = 0; i < 5; ++i) {
        announce({i + 1});
        add("Title");
    }
    show();
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{5}));
}

TEST_F(FormSections, HiddenCellsKeepTheirPlaceAndShowAfterAWholeUpdate) {
    announce({3});
    add("Title");
    add("Switch", "\"IsVisible\": false");
    add("Title", "\"IsVisible\": \"true\"");
    show();
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1}));
    EXPECT_EQ(form->getVisibleRow(2, 0), -1);

    core::Array cells{
        core::Value(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "c0"})")),
        core::Value(params(R"({"_Type": "Control.Type.FormCell.Switch", "_Name": "c1", "IsVisible": true})")),
        core::Value(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "c2", "IsVisible": "true"})"))};
    form->updateFormCells(cells, std::string("DarkForm"));
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{2}));
    EXPECT_NE(cellAt<vessa::VUISwitchFormCell>(0, 1), nullptr);
    EXPECT_EQ(table()->nuiClass, "DarkForm");
    EXPECT_EQ(form->getActualRow(1, 0), 1);
    EXPECT_EQ(form->getActualRow(2, 0), -1);
}

TEST_F(FormSections, CellsWithoutTypeOrNameOrOfNoKindAreNotAdded) {
    announce({3});
    form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.Title"})"), nullptr);
    form->addFormCell(params(R"({"_Name": "x"})"), nullptr);
    form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.Slider", "_Name": "x"})"), nullptr);
    EXPECT_EQ(form->totalNumberOfRows(), 0);
    EXPECT_TRUE(form->getCellTypesForSection().empty());
    EXPECT_TRUE(testing::logged(core::Severity::warn, "Slider"));
}

TEST_F(FormSections, AShorterWholeUpdateReplacesWhatItHasAndKeepsTheRest) {
    announce({2});
    add("Title", "\"Value\": \"a\""), add("Title", "\"Value\": \"b\"");
    show();
    form->updateFormCells(
        {core::Value(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "c0", "Value": "A"})"))},
        std::nullopt);
    EXPECT_EQ(stored(0, 0).ifDictionary()->get("Value"), core::Value("A"));
    EXPECT_EQ(stored(0, 1).ifDictionary()->get("Value"), core::Value("b"));
}

// ---- Host updates of one cell ---------------------------------------------------------

class FormUpdates : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        announce({4});
        add("Title", "\"Value\": \"first\"");
        add("Switch", "\"IsVisible\": false");
        add("Title", "\"Value\": \"third\"");
        add("Title", "\"Value\": \"fourth\"");
    }
};

TEST_F(FormUpdates, AnUpdateThatWouldHideTheCellChangesNothing) {
    show();
    const auto before = stored(0, 0);
    form->updateFormCell(params(R"({"IsVisible": false, "Value": "changed"})"), 0, 0);
    EXPECT_EQ(stored(0, 0), before);
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{3}));
}

TEST_F(FormUpdates, AnUpdateOfAHiddenCellChangesNothing) {
    show();
    const auto before = stored(0, 1);
    form->updateFormCell(params(R"({"Value": true})"), 1, 0);
    EXPECT_EQ(stored(0, 1), before);
}

TEST_F(FormUpdates, AShownCellTakesTheUpdateAtItsShownRow) {
    show();
    form->updateFormCell(params(R"({"Value": "3rd"})"), 2, 0);
    EXPECT_EQ(stored(0, 2).ifDictionary()->get("Value"), core::Value("3rd"));
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0, 1)->value(), "3rd");
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0, 0)->value(), "first");
}

TEST_F(FormUpdates, AValidationOnlyUpdateTouchesOnlyTheValidationDisplay) {
    show();
    form->updateFormCell(params(R"({"validationProperties": {"ValidationMessage": "Required"}})"), 0, 0);
    auto cell = cellAt<vessa::VUITitleFormCell>(0, 0);
    EXPECT_EQ(cell->validationMessage(), "Required");
    EXPECT_EQ(cell->value(), "first");
    form->updateFormCell(params(R"({"validationProperties": {"ValidationMessage": "Too long"}, "Value": "x"})"), 0, 0);
    EXPECT_EQ(cell->validationMessage(), "Too long");
    EXPECT_EQ(cell->value(), "x");
}

TEST_F(FormUpdates, AnOffScreenCellIsMergedAndRebuiltFromTheMergeWhenShown) {
    show(1);
    table()->clearUpdateLog();
    form->updateFormCell(params(R"({"Value": "later"})"), 3, 0);
    EXPECT_FALSE(table()->updateLog().empty());
    EXPECT_EQ(stored(0, 3).ifDictionary()->get("Value"), core::Value("later"));
    table()->scrollToRow({0, 2}, ui::UITableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0, 2)->value(), "later");
}

TEST_F(FormUpdates, ALateValueForARowThatNoLongerMapsIsNotStored) {
    show();
    const auto before = form->getCellTypesForSection();
    form->updateParamsWithValue(params(R"({"Value": "late"})"), {0, 3});
    form->updateParamsWithValue(params(R"({"Value": "late"})"), {1, 0});
    form->updateParamsWithValue(params(R"({"NoValue": 1})"), {0, 0});
    EXPECT_EQ(form->getCellTypesForSection(), before);
}

TEST_F(FormUpdates, APersonsChangeIsStoredUnderTheHostRowAndReported) {
    show();
    ASSERT_TRUE(cellAt<vessa::VUITitleFormCell>(0, 1)->enterValue("typed"));
    EXPECT_EQ(stored(0, 2).ifDictionary()->get("Value"), core::Value("typed"));
    ASSERT_FALSE(delegates["c2"]->calls.empty());
    EXPECT_EQ(delegates["c2"]->calls.back().args[0], core::Value(params(R"({"Value": "typed"})")));
}

// A row built again tells the callback object its name has now: one the
// host gave the name since, or that of the name a host update gave the row.
class FormDelegates : public FormTest {};

TEST_F(FormDelegates, ARowBuiltAgainTellsTheCallbackObjectOfItsNameAsItIsNow) {
    announce({2, 1});
    add("Switch");  // c0
    add("Switch");  // c1
    add("Switch");  // c2, in the second section
    show(1);
    auto buildFirstRowAgain = [&] {
        table()->scrollToRow({1, 0}, ui::UITableView::ScrollPosition::Top, false);
        table()->scrollToRow({0, 0}, ui::UITableView::ScrollPosition::Top, false);
    };
    // Toggled, then built again as the stored row now is.
    auto toggleFirstRow = [&] {
        buildFirstRowAgain();
        auto cell = cellAt<vessa::VUISwitchFormCell>(0, 0);
        ASSERT_TRUE(cell);
        ASSERT_TRUE(cell->toggle());
        buildFirstRowAgain();
    };
    toggleFirstRow();
    EXPECT_EQ(delegates["c0"]->calls.size(), 1u);

    // The host names another callback object "c0" with a cell in the last section.
    auto again = testing::reportingDelegate();
    form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "c0"})"), again);
    toggleFirstRow();
    EXPECT_EQ(delegates["c0"]->calls.size(), 1u);
    EXPECT_EQ(again->calls.size(), 1u);

    form->updateFormCell(params(R"({"_Name": "c1"})"), 0, 0);
    toggleFirstRow();
    EXPECT_EQ(again->calls.size(), 1u);
    EXPECT_EQ(delegates["c1"]->calls.size(), 1u);
}

// ---- Row taps ---------------------------------------------------------------------------

class FormPress : public FormTest {};

TEST_F(FormPress, OnlyListPickerAndExtensionRowsReportAPress) {
    announce({3});
    add("Title"), add("ListPicker"), add("Extension");
    show();
    for (int row = 0; row < 3; ++row) table()->selectRow({0, row});
    EXPECT_TRUE(delegates["c0"]->calls.empty());
    ASSERT_EQ(delegates["c1"]->calls.size(), 1u);
    EXPECT_EQ(delegates["c1"]->calls[0].selector, "onPress");
    EXPECT_EQ(delegates["c1"]->calls[0].args[0], core::Value(1));
    EXPECT_EQ(delegates["c1"]->calls[0].args[1].ifObject(), table()->cellForRow({0, 1}));
    ASSERT_EQ(delegates["c2"]->calls.size(), 1u);
    EXPECT_EQ(delegates["c2"]->calls[0].args[0], core::Value(2));
}

TEST_F(FormPress, TheDefaultDelegateAnswersNoneOfTheBareNames) {
    announce({1});
    auto fallback = std::make_shared<FormCellItemDelegate>();
    form->addFormCell(params(R"({"_Type": "Control.Type.FormCell.ListPicker", "_Name": "p"})"), fallback);
    show();
    EXPECT_FALSE(fallback->respondsToSelector("onPress"));
    EXPECT_FALSE(fallback->respondsToSelector("valueChangedWithParams"));
    EXPECT_TRUE(fallback->respondsToSelector("onPress:view:"));
    EXPECT_TRUE(table()->selectRow({0, 0}));
}

// ---- Heights and headers -------------------------------------------------------------------

class FormHeaders : public FormTest {};

TEST_F(FormHeaders, AnUnnamedSectionWithoutShownRowsHasNoHeader) {
    announce({1, 1});
    add("Title", "\"IsVisible\": false"), add("Title");
    show();
    EXPECT_EQ(table()->heightForHeader(0), 0);
    EXPECT_EQ(table()->heightForHeader(1), FormCellContainerViewController::sectionHeaderHeight);
    EXPECT_EQ(form->viewForHeaderInSection(*table(), 0), nullptr);
}

TEST_F(FormHeaders, ANamedSectionKeepsItsHeaderAndGetsALineWhenItShowsNoRow) {
    announce({1, 1});
    form->sectionNames = {"Details", "More"};
    add("Title", "\"IsVisible\": false"), add("Title");
    show();
    EXPECT_GT(table()->heightForHeader(0), FormCellContainerViewController::kNamedHeaderPadding);
    auto header =
        std::dynamic_pointer_cast<vessa::VUITableViewHeaderFooterView>(form->viewForHeaderInSection(*table(), 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->titleLabel()->text, "Details");
    EXPECT_NE(header->viewWithTag(FormCellContainerViewController::kHeaderSeparatorTag), nullptr);
    auto shown = form->viewForHeaderInSection(*table(), 1);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->viewWithTag(FormCellContainerViewController::kHeaderSeparatorTag), nullptr);
}

TEST_F(FormHeaders, InAPopoverTheFirstUnnamedSectionHasNoHeader) {
    announce({1});
    form->isInPopover = true;
    add("Title");
    show();
    EXPECT_EQ(table()->heightForHeader(0), 0);
}

TEST_F(FormHeaders, OnlyExtensionRowsTakeTheirHeightFromTheHost) {
    announce({2});
    add("Extension", "\"Height\": 120"), add("Title", "\"Height\": 120");
    show();
    EXPECT_EQ(form->heightForRowAt(*table(), {0, 0}), 120.0);
    EXPECT_EQ(form->heightForRowAt(*table(), {0, 1}), std::nullopt);
    EXPECT_GT(form->heightForFooterInSection(*table(), 0).value(), 0);
    EXPECT_LT(form->heightForFooterInSection(*table(), 0).value(), 1e-300);
}

TEST_F(FormHeaders, TheLastShownRowOfASectionDrawsNoSeparator) {
    announce({3});
    add("Title"), add("Title"), add("Title", "\"IsVisible\": false");
    show();
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0, 0)->separators, vessa::VUIBaseTableViewCell::Separators::Bottom);
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0, 1)->separators, vessa::VUIBaseTableViewCell::Separators::None);
}

// ---- Lifecycle ---------------------------------------------------------------------------------

class FormLifecycle : public FormTest {};

TEST_F(FormLifecycle, TheFormStaysHiddenUntilItHasAppearedAndIsPinnedBelowTheTopBar) {
    announce({1});
    add("Title");
    form->loadViewIfNeeded();
    EXPECT_TRUE(form->view()->isHidden());
    EXPECT_EQ(table()->estimatedRowHeight, FormCellContainerViewController::kEstimatedRowHeight);
    show();
    EXPECT_FALSE(form->view()->isHidden());
    std::vector<std::string> pins;
    for (const auto& c : form->view()->constraints()) pins.push_back(c->description());
    ASSERT_FALSE(pins.empty());
    EXPECT_NE(
        std::find_if(pins.begin(), pins.end(), [](const std::string& d) { return d.find("56") != std::string::npos; }),
        pins.end());
}

TEST_F(FormLifecycle, AFormSheetOverADarkRootGetsABlackBackground) {
    auto root = std::make_shared<ui::UIViewController>();
    root->traitCollection.userInterfaceStyle = ui::UIUserInterfaceStyle::Dark;
    window->setRootViewController(root);
    dispatch::MainQueue::shared().runUntilIdle();
    form->modalPresentationStyle = ui::UIModalPresentationStyle::FormSheet;
    root->present(form, false);
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(table()->backgroundColor, ui::UIColor::black());
}

TEST_F(FormLifecycle, AFullScreenFormOverADarkRootKeepsItsBackground) {
    auto root = std::make_shared<ui::UIViewController>();
    root->traitCollection.userInterfaceStyle = ui::UIUserInterfaceStyle::Dark;
    window->setRootViewController(root);
    dispatch::MainQueue::shared().runUntilIdle();
    form->modalPresentationStyle = ui::UIModalPresentationStyle::FullScreen;
    root->present(form, false);
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(table()->backgroundColor, std::nullopt);
}

TEST_F(FormLifecycle, AReleasedFormLeavesItsCellsInert) {
    announce({1});
    add("Switch");
    show();
    auto cell = cellAt<vessa::VUISwitchFormCell>(0, 0);
    auto delegate = delegates["c0"];
    window->setRootViewController(std::make_shared<ui::UIViewController>());
    dispatch::MainQueue::shared().runUntilIdle();
    std::weak_ptr<FormCellContainerViewController> weak = form;
    form.reset();
    EXPECT_TRUE(weak.expired());
    cell->toggle();
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(FormLifecycle, LeavingTheScreenEndsEditing) {
    announce({1});
    add("SimpleProperty");
    show();
    auto field = cellAt<vessa::VUITextFieldFormCell>(0, 0)->valueTextField();
    ASSERT_TRUE(field->becomeFirstResponder());
    window->setRootViewController(std::make_shared<ui::UIViewController>());
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_FALSE(field->isFirstResponder());
}

// ---- Focus and the list picker's last page -------------------------------------------------------

class FormFocus : public FormTest {};

TEST_F(FormFocus, AHiddenOrUnknownRowIsNeverFocused) {
    announce({2});
    add("SimpleProperty", "\"IsVisible\": false"), add("SimpleProperty");
    show();
    form->setFocus(0, 0);
    form->setFocus(5, 0);
    form->setFocus(0, 3);
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(dispatch::MainQueue::shared().pendingCount(), 0u);
    form->setFocus(1, 0);
    EXPECT_EQ(window->firstResponder(), cellAt<vessa::VUITextFieldFormCell>(0, 0)->valueTextField());
}

TEST_F(FormFocus, FocusBeforeTheTableHasLoadedDoesNothing) {
    announce({1});
    add("SimpleProperty");
    form->setFocus(0, 0);
    EXPECT_FALSE(testing::logged(core::Severity::error, ""));
    EXPECT_EQ(dispatch::MainQueue::shared().pendingCount(), 0u);
}

TEST_F(FormFocus, HidingTheLoadingRowOfAHiddenRowDoesNothing) {
    announce({2});
    add("ListPicker", "\"IsVisible\": false"), add("Title");
    show();
    form->hideLazyLoadingIndicator(0, 0);
    form->hideLazyLoadingIndicator(9, 0);
    form->hideLazyLoadingIndicator(1, 0);
    EXPECT_FALSE(testing::logged(core::Severity::error, ""));
}

}  // namespace
}  // namespace trc::formcells

namespace trc::formcells {
namespace {

class NavigationStatusBar : public testing::FreshProcessTest {};

TEST_F(NavigationStatusBar, TheChosenStyleWinsElseTheBarDecides) {
    auto nav = ui::UINavigationController::make(std::make_shared<ui::UIViewController>());
    EXPECT_EQ(NavigationStatusBarStyle::preferredStatusBarStyle(*nav), ui::UIStatusBarStyle::Default);
    nav->barStyle = ui::UIBarStyle::Black;
    EXPECT_EQ(NavigationStatusBarStyle::preferredStatusBarStyle(*nav), ui::UIStatusBarStyle::LightContent);
    vessa::VUIStatusBarStyleHelper::setStatusBarStyle(ui::UIStatusBarStyle::DarkContent);
    EXPECT_EQ(NavigationStatusBarStyle::preferredStatusBarStyle(*nav), ui::UIStatusBarStyle::DarkContent);
}

}  // namespace
}  // namespace trc::formcells
