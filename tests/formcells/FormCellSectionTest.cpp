#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellItemDelegate.h"
#include "formcells/FormCellRefresh.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormTestSupport.h"
#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerDataSource.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "services/SectionedTableViewController.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using formcells::FormCellSection;
using formcells::testing::CountingSource;

namespace {

constexpr const char* kTitle = "Control.Type.FormCell.Title";
constexpr const char* kNote = "Control.Type.FormCell.Note";
constexpr const char* kSwitch = "Control.Type.FormCell.Switch";
constexpr const char* kListPicker = "Control.Type.FormCell.ListPicker";
constexpr const char* kExtension = "Control.Type.FormCell.Extension";
constexpr const char* kSimpleProperty = "Control.Type.FormCell.SimpleProperty";

// A host callback object: answers the bare names it is given and notes each
// send as "selector(arg, arg)".
class HostDouble : public core::Object {
public:
    explicit HostDouble(std::set<std::string, std::less<>> answers) : answers_(std::move(answers)) {}
    std::vector<std::string> sent;

    bool respondsToSelector(std::string_view selector) const override { return answers_.count(selector) > 0; }
    core::Value perform(std::string_view selector, core::Args args) override {
        std::string line(selector);
        line += "(";
        for (std::size_t i = 0; i < args.size(); ++i) {
            line += (i ? ", " : "") + (args[i].isObject() ? args[i].ifObject()->className() : args[i].description());
        }
        sent.push_back(line + ")");
        return {};
    }

private:
    std::set<std::string, std::less<>> answers_;
};

core::Dictionary cell(const char* name, const char* type, core::Dictionary extra = {}) {
    core::Dictionary d{{"_Name", name}, {"_Type", type}};
    d.merge(extra);
    return d;
}

// A page of two form cell sections: "lead" (one title) above the section
// under test, so the section sits at index 1. The section's cells, by host row:
//   0 A title, 1 B title hidden, 2 C switch, 3 D list picker, 4 E extension (Height 120)
// so its shown rows are A, C, D, E.
class FormCellSectionPage : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
        window->makeKeyAndVisible();
        lead->setFormCellSectionItem(cell("Lead", kTitle), leadDelegate);
        section->setFormCellSectionItem(cell("A", kTitle, {{"Value", "a"}}), delegate("A"));
        section->setFormCellSectionItem(cell("B", kTitle, {{"IsVisible", false}}), delegate("B"));
        section->setFormCellSectionItem(cell("C", kSwitch, {{"Value", true}}), delegate("C"));
        section->setFormCellSectionItem(cell("D", kListPicker), delegate("D"));
        section->setFormCellSectionItem(cell("E", kExtension, {{"Height", 120}}), delegate("E"));
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    std::shared_ptr<HostDouble> delegate(const std::string& name) {
        auto d = std::make_shared<HostDouble>(std::set<std::string, std::less<>>{"valueChangedWithParams", "onPress"});
        delegates[name] = d;
        return d;
    }
    void show(std::optional<int> rowsOnScreen = std::nullopt) {
        page->initialize({lead, section});
        window->setRootViewController(page);
        settle();
        table()->setRowsOnScreen(rowsOnScreen);
        table()->layoutSubviews();
        settle();
        table()->clearUpdateLog();
    }
    void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    std::shared_ptr<ui::UITableView> table() { return page->tableView(); }
    template <class T>
    std::shared_ptr<T> cellAt(int row) {
        return std::dynamic_pointer_cast<T>(table()->cellForRow({1, row}));
    }
    const core::Dictionary& stored(int hostRow) {
        return section->getCellItems().at(static_cast<std::size_t>(hostRow));
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<services::SectionedTableViewController> page =
        std::make_shared<services::SectionedTableViewController>();
    std::shared_ptr<FormCellSection> lead = FormCellSection::make({}, nullptr);
    std::shared_ptr<FormCellSection> section = FormCellSection::make({{"itemCount", 5}}, nullptr);
    std::shared_ptr<HostDouble> leadDelegate = std::make_shared<HostDouble>(std::set<std::string, std::less<>>{});
    std::map<std::string, std::shared_ptr<HostDouble>> delegates;
};

using FormCellSectionRows = FormCellSectionPage;
using FormCellSectionUpdates = FormCellSectionPage;
using FormCellSectionValues = FormCellSectionPage;
using FormCellSectionHostCalls = FormCellSectionPage;

}  // namespace

TEST_F(FormCellSectionRows, OnlyExtensionRowsWithANumericHeightGetTheirOwnHeight) {
    section->setFormCellSectionItem(cell("F", kTitle, {{"Height", 120}}), delegate("F"));
    section->setFormCellSectionItem(cell("G", kExtension, {{"Height", "120"}}), delegate("G"));
    show();
    EXPECT_EQ(section->getExtensionHeight(3), 120.0);
    EXPECT_EQ(table()->heightForRow({1, 3}), 120.0);
    EXPECT_FALSE(section->getExtensionHeight(4).has_value()) << "a title keeps the default height";
    EXPECT_FALSE(section->getExtensionHeight(5).has_value()) << "a text is no height";
    EXPECT_FALSE(section->getExtensionHeight(9).has_value());
}

TEST_F(FormCellSectionRows, RegistersEveryKindInTheListHiddenCellsIncluded) {
    section->setFormCellSectionItem(cell("N", kNote, {{"IsVisible", false}}), delegate("N"));
    section->setFormCellSectionItem(cell("W", "control.type.formcell.note"), delegate("W"));
    show();
    EXPECT_TRUE(table()->registeredClassName(vessa::VUINoteFormCell::reuseIdentifier()).has_value());
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 5})) << "a row of no kind still shows, as an empty cell";
}

TEST_F(FormCellSectionRows, CellsAddedAfterTheFirstShowAppearWithTheNextReload) {
    show();
    section->setFormCellSectionItem(cell("N", kNote), delegate("N"));
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 4})) << "adding does not reload the page";
    section->redraw({});
    settle();
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 5}));
    EXPECT_NE(cellAt<vessa::VUINoteFormCell>(4), nullptr) << "its class was registered before it was built";
}

TEST_F(FormCellSectionUpdates, UpdatesThatWouldHideACellOrAimAtAHiddenOneChangeNothing) {
    show();
    const auto before = section->getCellItems();
    section->updateFormCell({{"IsVisible", false}, {"Value", "x"}}, 0);
    section->updateFormCell({{"IsVisible", "false"}, {"Value", "x"}}, 0);
    section->updateFormCell({{"Value", "x"}}, 1);
    section->updateFormCell({{"Value", "x"}}, 5);
    section->updateFormCell({{"Value", "x"}}, -1);
    EXPECT_EQ(section->getCellItems(), before);
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0)->value(), "a");
    EXPECT_EQ(cellAt<vessa::VUISwitchFormCell>(1)->value(), true) << "no other row's cell was configured";
    EXPECT_TRUE(table()->updateLog().empty());
}

TEST_F(FormCellSectionUpdates, ValidationOnlyUpdatesTouchNothingButTheValidationLine) {
    show();
    section->updateFormCell({{"validationProperties", core::Dictionary{{"ValidationMessage", "Too short"}}}}, 0);
    auto title = cellAt<vessa::VUITitleFormCell>(0);
    EXPECT_EQ(title->validationMessage(), "Too short");
    EXPECT_EQ(title->value(), "a");

    section->updateFormCell(
        {{"validationProperties", core::Dictionary{{"ValidationMessage", "Again"}}}, {"Value", "b"}}, 0);
    EXPECT_EQ(title->value(), "b") << "with another key the kind's setter runs too";
    EXPECT_TRUE(table()->updateLog().empty());
}

TEST_F(FormCellSectionUpdates, AnOffScreenRowIsMergedAndReloadedThenBuiltFromTheMerge) {
    section->setFormCellSectionItem(cell("F", kTitle), delegate("F"));
    show(3);  // the lead row, A and C
    section->updateFormCell({{"Value", "late"}}, 5);
    EXPECT_EQ(*stored(5).find("Value"), core::Value("late"));
    EXPECT_EQ(table()->updateLog(), std::vector<std::string>{"reloadRows [1, 4] automatic"});
    table()->scrollToRow({1, 4}, ui::UITableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(4)->value(), "late");
}

TEST_F(FormCellSectionUpdates, ReplacingTheCellsChangesVisibilityAndReloadsTheSection) {
    show();
    section->updateFormCells({cell("A", kTitle, {{"IsVisible", false}}), cell("B", kTitle, {{"Value", "shown"}}),
                              core::Value("not a cell")});
    EXPECT_EQ(table()->updateLog(), std::vector<std::string>{"reloadSections 1 automatic"});
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 4}));
    EXPECT_EQ(cellAt<vessa::VUITitleFormCell>(0)->value(), "shown");
    EXPECT_EQ(*stored(2).find("_Type"), core::Value(kSwitch)) << "a skipped element leaves its cell alone";

    section->maxItemCount = 1;
    section->updateFormCells({cell("A", kTitle), cell("B", kTitle, {{"IsVisible", false}})});
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 5})) << "only the first itemCount cells are replaced";
}

TEST_F(FormCellSectionValues, APersonsChangeIsStoredInItsHostRowAndReportedUnderItsName) {
    show();
    ASSERT_TRUE(cellAt<vessa::VUISwitchFormCell>(1)->enterValue(false));
    EXPECT_EQ(*stored(2).find("Value"), core::Value(false)) << "shown row 1 is host row 2";
    EXPECT_EQ(delegates["C"]->sent, std::vector<std::string>{R"(valueChangedWithParams({"Value":false}))"});
    EXPECT_TRUE(delegates["A"]->sent.empty());
}

// Two sections on one page share the table's cells: a cell that showed the
// lead section's row reports, once reused for this section's row, to this
// section and the row's callback object, and back again.
TEST_F(FormCellSectionValues, ACellReusedAcrossSectionsReportsToTheSectionItShowsNow) {
    lead->delegates["Lead"] = delegate("Lead");
    show(1);  // the lead row only
    auto leadCell = std::dynamic_pointer_cast<vessa::VUITitleFormCell>(table()->cellForRow({0, 0}));
    ASSERT_NE(leadCell, nullptr);
    table()->scrollToRow({1, 0}, ui::UITableView::ScrollPosition::Top, false);
    auto cellA = cellAt<vessa::VUITitleFormCell>(0);
    ASSERT_EQ(cellA, leadCell) << "the lead's cell, reused";
    ASSERT_TRUE(cellA->enterValue("typed"));
    EXPECT_EQ(*stored(0).find("Value"), core::Value("typed"));
    EXPECT_EQ(lead->getCellItems()[0].find("Value"), nullptr);
    EXPECT_FALSE(delegates["A"]->sent.empty());
    EXPECT_TRUE(delegates["Lead"]->sent.empty());

    delegates["A"]->sent.clear();
    table()->scrollToRow({0, 0}, ui::UITableView::ScrollPosition::Top, false);
    auto back = std::dynamic_pointer_cast<vessa::VUITitleFormCell>(table()->cellForRow({0, 0}));
    ASSERT_EQ(back, leadCell);
    ASSERT_TRUE(back->enterValue("lead"));
    EXPECT_EQ(*lead->getCellItems()[0].find("Value"), core::Value("lead"));
    EXPECT_EQ(*stored(0).find("Value"), core::Value("typed"));
    EXPECT_FALSE(delegates["Lead"]->sent.empty());
    EXPECT_TRUE(delegates["A"]->sent.empty());
}

TEST_F(FormCellSectionValues, AValueForNoShownRowIsDropped) {
    show();
    const auto before = section->getCellItems();
    section->updateParamsWithValue({{"Value", "late"}}, {1, 4});
    section->updateParamsWithValue({{"Value", "late"}}, {1, -1});
    section->updateParamsWithValue({{"NotValue", "x"}}, {1, 0});
    EXPECT_EQ(section->getCellItems(), before);
}

TEST_F(FormCellSectionValues, AChangeAfterTheSectionIsGoneDoesNothing) {
    show();
    auto sw = cellAt<vessa::VUISwitchFormCell>(1);
    std::weak_ptr<FormCellSection> watch = section;
    page.reset();
    window->setRootViewController(nullptr);
    section.reset();
    settle();
    EXPECT_TRUE(watch.expired()) << "no cycle keeps the section alive";
    sw->enterValue(false);
    EXPECT_TRUE(delegates["C"]->sent.empty());
}

TEST_F(FormCellSectionHostCalls, LoadingRowsAndFocusActOnlyOnAShownHostRow) {
    show();
    auto source = std::make_shared<CountingSource>();
    cellAt<vessa::VUIListPickerFormCell>(2)->listPicker()->setDataSource(source);
    section->hideLazyLoadingIndicatorWith(1);
    section->hideLazyLoadingIndicatorWith(7);
    EXPECT_EQ(source->hidden, 0) << "a hidden or unknown host row is not redirected to another row";
    section->hideLazyLoadingIndicatorWith(3);
    EXPECT_EQ(source->hidden, 1);

    section->setFocus(1);
    dispatch::MainQueue::shared().advance(2);
    EXPECT_FALSE(cellAt<vessa::VUITitleFormCell>(0)->valueTextField()->isEditing());
    section->setFocus(0);
    dispatch::MainQueue::shared().advance(2);
    EXPECT_TRUE(cellAt<vessa::VUITitleFormCell>(0)->valueTextField()->isEditing());
}

TEST_F(FormCellSectionHostCalls, RedrawReadsTheSectionKeysLaterAndReloads) {
    show();
    section->redraw({{"itemCount", 0}, {"locale", "de_DE"}});
    EXPECT_EQ(section->maxItemCount, 5) << "never inside the call";
    settle();
    EXPECT_EQ(section->maxItemCount, 0);
    EXPECT_EQ(formcells::FormCellFactory::locale().identifier(), "de_DE");
    EXPECT_EQ(table()->rowCounts(), (std::vector<int>{1, 0}));

    section->redraw({{"itemCount", "3"}, {"locale", ""}});
    settle();
    EXPECT_EQ(section->maxItemCount, 0) << "a text is no item count";
    EXPECT_EQ(formcells::FormCellFactory::locale().identifier(), "de_DE") << "an empty identifier names no locale";
}

TEST_F(FormCellSectionHostCalls, AttachmentReportsAskTheDelegateFirstAndReloadLater) {
    show();
    section->didChangeValue(std::string("C"), {{"Value", core::Array{}}});
    section->didChangeValue(std::string("nobody"), {{"Value", core::Array{}}});
    section->didChangeValue(std::nullopt, {{"Value", core::Array{}}});
    EXPECT_EQ(delegates["C"]->sent, std::vector<std::string>{R"(valueChangedWithParams({"Value":[]}))"});
    section->setFormCellSectionItem(cell("Z", kTitle), leadDelegate);
    section->didChangeValue(std::string("Z"), {});
    EXPECT_TRUE(leadDelegate->sent.empty()) << "a delegate that does not answer is skipped";

    section->reloadSectionContainer({1, 2});
    section->reloadSectionContainer({1, 40});
    EXPECT_TRUE(table()->updateLog().empty());
    settle();
    EXPECT_EQ(table()->updateLog(),
              (std::vector<std::string>{"reloadSections 1 automatic", "scrollToRow [1, 2] middle animated",
                                        "reloadSections 1 automatic"}))
        << "no scroll to a row the table does not have";
}

namespace {

// A section alone on a page in a navigation controller, so a row's barcode
// button can open the scanner. Host rows: 0 hidden title, 1 "code" (barcode
// input, callback object `first`), 2 "other" (`second`).
class FormCellSectionBarcode : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        window->makeKeyAndVisible();
        section->setFormCellSectionItem(cell("gone", kTitle, {{"IsVisible", false}}), nullptr);
        section->setFormCellSectionItem(cell("code", kSimpleProperty, {{"AlternateInput", "Barcode"}}), first);
        section->setFormCellSectionItem(cell("other", kSimpleProperty), second);
        page->initialize({section});
        window->setRootViewController(nav);
        settle();
        page->tableView()->layoutSubviews();
        settle();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }
    static void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    static std::shared_ptr<HostDouble> host() {
        return std::make_shared<HostDouble>(std::set<std::string, std::less<>>{"valueChangedWithParams"});
    }
    // A person scans text into shown row 0.
    void scan(const std::string& text) {
        auto field = std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(page->tableView()->cellForRow({0, 0}));
        ASSERT_TRUE(field && field->alternativeInputButton()->press());
        settle();
        auto shown = std::dynamic_pointer_cast<ui::UINavigationController>(nav->presentedViewController());
        auto scanner = shown
                           ? std::dynamic_pointer_cast<vessa::VUIBarcodeScanViewController>(shown->topViewController())
                           : nullptr;
        ASSERT_TRUE(scanner && scanner->scanText(text));
        settle();
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<services::SectionedTableViewController> page =
        std::make_shared<services::SectionedTableViewController>();
    std::shared_ptr<ui::UINavigationController> nav = ui::UINavigationController::make(page);
    std::shared_ptr<FormCellSection> section = FormCellSection::make({{"itemCount", 3}}, nullptr);
    std::shared_ptr<HostDouble> first = host();
    std::shared_ptr<HostDouble> second = host();
};

// The callback object a reading goes to is the one the row's stored name
// finds when the host last updated the row: a person's change keeps it, a
// new registration under the name or a rename changes it, an update aimed
// at a hidden row changes nothing.
TEST_F(FormCellSectionBarcode, AfterAHostUpdateAReadingGoesToTheCallbackObjectTheRowsNameFindsNow) {
    scan("1");  // a person's change
    section->updateFormCell({{"Caption", "Code"}}, 1);
    scan("2");
    section->updateFormCell({{"_Name", "other"}}, 0);  // the hidden row: nothing changes
    scan("3");
    EXPECT_EQ(first->sent.size(), 3u);

    auto next = host();
    section->setFormCellSectionItem(cell("code", kSimpleProperty, {{"IsVisible", false}}), next);
    section->updateFormCell({{"Value", "host"}}, 1);
    scan("4");
    EXPECT_EQ(first->sent.size(), 3u);
    EXPECT_EQ(next->sent, std::vector<std::string>{R"(valueChangedWithParams({"Value":"4"}))"});

    section->updateFormCell({{"_Name", "other"}}, 1);
    scan("5");
    EXPECT_EQ(next->sent.size(), 1u);
    EXPECT_EQ(second->sent, std::vector<std::string>{R"(valueChangedWithParams({"Value":"5"}))"});
    EXPECT_EQ(*section->getCellItems().at(1).find("Value"), core::Value("5"));
}

// Rows the host sends again keep what their names find: the same name the
// same callback object, another name what that one finds.
TEST_F(FormCellSectionBarcode, RowsSentAgainReportToWhatTheirNamesFind) {
    auto sendRows = [&](const char* name) {
        section->updateFormCells({core::Value(cell("gone", kTitle, {{"IsVisible", false}})),
                                  core::Value(cell(name, kSimpleProperty, {{"AlternateInput", "Barcode"}})),
                                  core::Value(cell("other", kSimpleProperty))});
        settle();
    };
    scan("1");
    sendRows("code");
    scan("2");
    EXPECT_EQ(first->sent.size(), 2u);
    sendRows("other");
    scan("3");
    EXPECT_EQ(first->sent.size(), 2u);
    EXPECT_EQ(second->sent, std::vector<std::string>{R"(valueChangedWithParams({"Value":"3"}))"});
    sendRows("code");
    scan("4");
    EXPECT_EQ(first->sent.size(), 3u);
}

}  // namespace
