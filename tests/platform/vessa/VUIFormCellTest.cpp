#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIFormTableViewController.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;
using namespace trc::vessa;

namespace {

using Reported = std::variant<std::string, bool, int, double, core::Date, std::vector<int>, std::vector<std::string>>;

class CellEntry : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
    }
    template <class Cell>
    std::shared_ptr<Cell> shown() {
        auto cell = std::make_shared<Cell>();
        window->addSubview(cell);
        return cell;
    }
    template <class T>
    auto record() {
        return [this](const T& v) { reported.emplace_back(v); };
    }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::vector<Reported> reported;
};

TEST_F(CellEntry, TextCellsReportEveryKeystrokeWhenTrackingLiveChanges) {
    auto cell = shown<VUITextFieldFormCell>();
    cell->isTrackingLiveChanges = true;
    cell->onChangeHandler = record<std::string>();
    EXPECT_TRUE(cell->type("ab"));
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(std::get<std::string>(reported[1]), "ab");
    EXPECT_EQ(cell->value(), "ab");
}

TEST_F(CellEntry, TextCellsWithoutLiveTrackingReportOnceWhenEditingEnds) {
    auto cell = shown<VUITitleFormCell>();
    cell->onChangeHandler = record<std::string>();
    cell->type("ab");
    EXPECT_TRUE(reported.empty());
    cell->valueTextField()->resignFirstResponder();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::string>(reported[0]), "ab");
    // Focus in and out without an edit reports nothing.
    cell->valueTextField()->becomeFirstResponder();
    cell->valueTextField()->resignFirstResponder();
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(CellEntry, NoteCellEntersAWholeValue) {
    auto cell = shown<VUINoteFormCell>();
    cell->onChangeHandler = record<std::string>();
    cell->setValue("old");
    EXPECT_TRUE(cell->enterValue("new text"));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::string>(reported[0]), "new text");
    EXPECT_FALSE(cell->valueTextView()->isEditing());
}

TEST_F(CellEntry, ARefusingDelegateKeepsTheTextAndReportsNothing) {
    struct Refuse : UITextFieldDelegate {
        bool textFieldShouldChangeCharactersIn(UITextField&, NSRange, const std::string&) override { return false; }
    };
    auto refuse = std::make_shared<Refuse>();
    auto cell = shown<VUITextFieldFormCell>();
    cell->isTrackingLiveChanges = true;
    cell->valueTextField()->setDelegate(refuse);
    cell->onChangeHandler = record<std::string>();
    EXPECT_FALSE(cell->type("-"));
    cell->valueTextField()->resignFirstResponder();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(cell->value(), "");
}

TEST_F(CellEntry, NotEditableCellsRefuseEntries) {
    auto text = shown<VUITextFieldFormCell>();
    text->setEditable(false);
    auto toggle = shown<VUISwitchFormCell>();
    toggle->setEditable(false);
    auto segments = shown<VUISegmentedControlFormCell>();
    segments->setValueOptions({"A", "B"});
    segments->setEditable(false);
    text->onChangeHandler = record<std::string>();
    toggle->onChangeHandler = record<bool>();
    segments->onChangeHandler = record<int>();
    EXPECT_FALSE(text->type("x"));
    EXPECT_FALSE(toggle->toggle());
    EXPECT_FALSE(segments->select(1));
    EXPECT_TRUE(reported.empty());
}

TEST_F(CellEntry, PickersAndControlsReportTypedValues) {
    auto toggle = shown<VUISwitchFormCell>();
    toggle->onChangeHandler = record<bool>();
    EXPECT_TRUE(toggle->enterValue(true));
    EXPECT_TRUE(toggle->enterValue(true)) << "already on: nothing to flip";

    auto segments = shown<VUISegmentedControlFormCell>();
    segments->setValueOptions({"A", "B"});
    segments->onChangeHandler = record<int>();
    EXPECT_FALSE(segments->select(2));
    EXPECT_TRUE(segments->select(1));

    auto date = shown<VUIDatePickerFormCell>();
    date->onChangeHandler = record<core::Date>();
    EXPECT_TRUE(date->pick(core::Date{86400}));

    auto duration = shown<VUIDurationPickerFormCell>();
    duration->onChangeHandler = record<double>();
    EXPECT_TRUE(duration->pick(5400));
    EXPECT_EQ(duration->valueLabel()->text, "1 h 30 min");

    ASSERT_EQ(reported.size(), 4u);
    EXPECT_EQ(std::get<bool>(reported[0]), true);
    EXPECT_EQ(std::get<int>(reported[1]), 1);
    EXPECT_EQ(std::get<core::Date>(reported[2]), core::Date{86400});
    EXPECT_EQ(std::get<double>(reported[3]), 5400.0);
}

TEST_F(CellEntry, ASegmentValueOutsideTheOptionsSelectsNothing) {
    auto segments = shown<VUISegmentedControlFormCell>();
    segments->setValueOptions({"A"});
    segments->setValue(4);
    EXPECT_EQ(segments->value(), 4);
    EXPECT_EQ(segments->segmentedControl()->selectedSegmentIndex, UISegmentedControl::noSegment);
}

TEST_F(CellEntry, DateCellShowsItsValueThroughItsFormatter) {
    auto date = shown<VUIDatePickerFormCell>();
    date->setValue(core::Date{0});
    EXPECT_EQ(date->valueLabel()->text, "");
    auto formatter = std::make_shared<foundation::DateFormatter>();
    formatter->setLocale(foundation::Locale("en_US"));
    formatter->setDateStyle(foundation::DateFormatter::Style::Medium);
    date->setDateFormatter(formatter);
    EXPECT_EQ(date->valueLabel()->text, "Jan 1, 1970");
}

TEST_F(CellEntry, FilterTapsFollowTheSelectionRules) {
    auto filter = shown<VUIFilterFormCell>();
    filter->valueOptions = {"a", "b", "c"};
    filter->onChangeHandler = record<std::vector<int>>();
    EXPECT_TRUE(filter->tapOption(2));
    EXPECT_TRUE(filter->tapOption(0));
    EXPECT_EQ(filter->value, std::vector<int>{0}) << "single selection replaces";
    filter->allowsMultipleSelection = true;
    EXPECT_TRUE(filter->tapOption(2));
    EXPECT_EQ(filter->value, (std::vector<int>{0, 2}));
    filter->allowsEmptySelection = false;
    EXPECT_TRUE(filter->tapOption(0));
    EXPECT_FALSE(filter->tapOption(2)) << "the last option cannot go";
    EXPECT_FALSE(filter->pick({5}));
    EXPECT_EQ(reported.size(), 4u);
    EXPECT_EQ(std::get<std::vector<int>>(reported.back()), std::vector<int>{2});
}

TEST_F(CellEntry, ButtonPressRunsBothHandlers) {
    auto cell = shown<VUIButtonFormCell>();
    int cellTaps = 0;
    int buttonTaps = 0;
    cell->onChangeHandler = [&](UIControl::Event e) { cellTaps += e == UIControl::Event::TouchUpInside; };
    cell->button()->didSelectHandler = [&](VUIButton&) { ++buttonTaps; };
    cell->button()->setTitle("Go");
    EXPECT_TRUE(cell->press());
    EXPECT_EQ(cellTaps, 1);
    EXPECT_EQ(buttonTaps, 1);
    EXPECT_EQ(cell->button()->titleLabel()->text, "Go");
}

TEST_F(CellEntry, AHandlerOutlivingItsCellIsNotCalled) {
    auto cell = shown<VUITextFieldFormCell>();
    cell->isTrackingLiveChanges = true;
    cell->onChangeHandler = record<std::string>();
    auto field = cell->valueTextField();
    cell->removeFromSuperview();
    cell.reset();
    window->addSubview(field);
    field->type("x");
    EXPECT_TRUE(reported.empty());
}

TEST_F(CellEntry, AHandlerMayReplaceOrDropItselfWhileItRuns) {
    auto toggle = shown<VUISwitchFormCell>();
    std::vector<std::string> heard;
    auto big = std::make_shared<std::string>("captured state the handler keeps alive");
    toggle->onChangeHandler = [&, big](bool on) {
        toggle->onChangeHandler = [&](bool) { heard.push_back("second"); };
        heard.push_back(*big + (on ? " on" : " off"));  // still safe: the running handler is kept
    };
    big.reset();
    EXPECT_TRUE(toggle->toggle());
    EXPECT_TRUE(toggle->toggle());
    toggle->onChangeHandler = [&](bool) {
        toggle->onChangeHandler = nullptr;
        heard.push_back("last");
    };
    EXPECT_TRUE(toggle->toggle());
    EXPECT_FALSE(toggle->onChangeHandler);
    EXPECT_TRUE(toggle->toggle()) << "a cell without a handler still takes the flip";
    EXPECT_EQ(heard, (std::vector<std::string>{"captured state the handler keeps alive on", "second", "last"}));

    std::function<void(bool)> empty;
    toggle->onChangeHandler = empty;
    EXPECT_FALSE(toggle->onChangeHandler) << "an empty function is no handler";
}

TEST_F(CellEntry, AReassignedHandlerLetsGoOfWhatTheOldOneHeld) {
    auto toggle = shown<VUISwitchFormCell>();
    auto handlerFor = [this](std::shared_ptr<std::string> row) {
        return [this, row](bool) { reported.emplace_back(*row); };
    };
    auto first = std::make_shared<std::string>("row 1");
    std::weak_ptr<std::string> firstAlive = first;
    toggle->onChangeHandler = handlerFor(std::move(first));
    auto kept = toggle->onChangeHandler;  // a copy keeps its own handler
    toggle->onChangeHandler = handlerFor(std::make_shared<std::string>("row 2"));
    EXPECT_FALSE(firstAlive.expired());
    kept = nullptr;
    toggle->onChangeHandler = handlerFor(std::make_shared<std::string>("row 3"));
    toggle->onChangeHandler = handlerFor(std::make_shared<std::string>("row 4"));
    EXPECT_TRUE(firstAlive.expired());
    EXPECT_TRUE(toggle->toggle());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::string>(reported[0]), "row 4");

    auto last = std::make_shared<std::string>("row 5");
    std::weak_ptr<std::string> lastAlive = last;
    toggle->onChangeHandler = handlerFor(std::move(last));
    toggle->onChangeHandler = nullptr;
    EXPECT_TRUE(lastAlive.expired()) << "dropping a handler drops what it captured";
    EXPECT_FALSE(toggle->onChangeHandler);
    EXPECT_THROW(toggle->onChangeHandler(true), std::bad_function_call);
    toggle->onChangeHandler = handlerFor(std::make_shared<std::string>("row 6"));
    EXPECT_TRUE(toggle->toggle());
    EXPECT_EQ(std::get<std::string>(reported.back()), "row 6");
}

// A holder may point the handler it gave at another row in place, but only
// while nothing else holds that handler: never under a copy that runs it.
TEST_F(CellEntry, AHandlerIsOpenToChangeInPlaceOnlyWhileNothingElseHoldsIt) {
    struct Row {
        std::vector<Reported>* reported;
        std::string name;
        void operator()(bool) const { reported->emplace_back(name); }
    };
    auto toggle = shown<VUISwitchFormCell>();
    EXPECT_EQ(toggle->onChangeHandler.target<Row>(), nullptr) << "no handler";
    toggle->onChangeHandler = Row{&reported, "first"};
    EXPECT_EQ(toggle->onChangeHandler.target<std::function<void(bool)>>(), nullptr) << "another type";
    Row* row = toggle->onChangeHandler.target<Row>();
    ASSERT_NE(row, nullptr);
    row->name = "second";
    EXPECT_TRUE(toggle->toggle());

    auto copy = toggle->onChangeHandler;
    EXPECT_EQ(toggle->onChangeHandler.target<Row>(), nullptr) << "shared with a copy";
    copy = nullptr;
    EXPECT_NE(toggle->onChangeHandler.target<Row>(), nullptr);

    struct Probe {
        VUISwitchFormCell* cell;
        bool* open;
        void operator()(bool) const { *open = cell->onChangeHandler.target<Probe>() != nullptr; }
    };
    bool openWhileRunning = true;
    toggle->onChangeHandler = Probe{toggle.get(), &openWhileRunning};
    EXPECT_TRUE(toggle->toggle());
    EXPECT_FALSE(openWhileRunning) << "the copy that runs it shares it";

    toggle->onChangeHandler = Row{&reported, "fourth"};
    toggle->onChangeHandler = nullptr;
    EXPECT_EQ(toggle->onChangeHandler.target<Row>(), nullptr) << "emptied";
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::string>(reported[0]), "second");
}

TEST_F(CellEntry, ActionsAddedOrRemovedDuringASendTakeEffectFromTheNextSend) {
    auto control = std::make_shared<UIControl>();
    std::vector<std::string> ran;
    std::uint64_t second = 0;
    control->addAction(UIControl::Event::ValueChanged, [&](UIControl& c) {
        ran.push_back("first");
        c.removeAction(second);
        c.addAction(UIControl::Event::ValueChanged, [&](UIControl&) { ran.push_back("added"); });
    });
    second = control->addAction(UIControl::Event::ValueChanged, [&](UIControl&) { ran.push_back("second"); });
    for (int i = 0; i < 10; ++i)
        control->addAction(UIControl::Event::EditingChanged, [&](UIControl&) { ran.push_back("edit"); });
    control->sendActions(UIControl::Event::ValueChanged);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"})) << "the actions as they were when the send began";
    ran.clear();
    control->sendActions(UIControl::Event::EditingChanged);
    EXPECT_EQ(ran.size(), 10u) << "more actions than fit on the stack";
}

TEST(CellHierarchy, ValidationAndDrawingBasesAreApart) {
    auto isValidation = [](const std::shared_ptr<UITableViewCell>& c) {
        return dynamic_cast<VUIInlineValidationTableViewCell*>(c.get()) != nullptr;
    };
    auto isDrawing = [](const std::shared_ptr<UITableViewCell>& c) {
        return dynamic_cast<VUIInlineValidationDrawingTableViewCell*>(c.get()) != nullptr;
    };
    for (auto c : std::vector<std::shared_ptr<UITableViewCell>>{
             std::make_shared<VUITitleFormCell>(), std::make_shared<VUIListPickerFormCell>(),
             std::make_shared<VUIDatePickerFormCell>(), std::make_shared<VUIDurationPickerFormCell>(),
             std::make_shared<VUISegmentedControlFormCell>(), std::make_shared<VUIFilterFormCell>()}) {
        EXPECT_TRUE(isValidation(c) && !isDrawing(c)) << c->className();
    }
    for (auto c : std::vector<std::shared_ptr<UITableViewCell>>{std::make_shared<VUINoteFormCell>(),
                                                                std::make_shared<VUITextFieldFormCell>(),
                                                                std::make_shared<VUISwitchFormCell>()}) {
        EXPECT_TRUE(isDrawing(c) && !isValidation(c)) << c->className();
    }
    for (auto c : std::vector<std::shared_ptr<UITableViewCell>>{std::make_shared<VUIButtonFormCell>(),
                                                                std::make_shared<VUIAttachmentsFormCell>()}) {
        EXPECT_TRUE(!isDrawing(c) && !isValidation(c)) << c->className();
    }
    auto note = std::make_shared<VUINoteFormCell>();
    EXPECT_TRUE(note->validationView()->isHidden());
    EXPECT_NE(note->validationView()->separator(), nullptr);
}

TEST_F(CellEntry, InnerViewFocusReachesTheTextField) {
    auto cell = shown<VUITextFieldFormCell>();
    EXPECT_TRUE(cell->innerView()->becomeFirstResponder());
    EXPECT_TRUE(cell->valueTextField()->isEditing());
    EXPECT_TRUE(cell->innerView()->resignFirstResponder());
    EXPECT_FALSE(cell->valueTextField()->isEditing());
}

TEST_F(CellEntry, AListPickerCellShowsTheTitlesOfTheIndexesItIsGivenEvenFromItsOwnValue) {
    auto cell = shown<VUIListPickerFormCell>();
    cell->valueOptions = {"Red", "Green", "Blue"};
    cell->setValue(std::vector<int>{2, 7, 0});
    EXPECT_EQ(cell->value(), (std::vector<int>{2, 7, 0}));
    EXPECT_EQ(cell->valueLabel()->text, "Blue, Red") << "an index beyond the titles shows nothing";
    cell->setValue(cell->value());
    EXPECT_EQ(cell->value(), (std::vector<int>{2, 7, 0}));
    cell->setValue(std::span(cell->value()).subspan(1));
    EXPECT_EQ(cell->value(), (std::vector<int>{7, 0}));
    EXPECT_EQ(cell->valueLabel()->text, "Red");
    cell->setValue({});
    EXPECT_TRUE(cell->value().empty());
    EXPECT_EQ(cell->valueLabel()->text, "Red") << "no selection leaves the text to the setter";
}

// A form showing one list picker cell with string items, inside a navigation controller.
class ListPickerForm : public VUIFormTableViewController {
public:
    std::shared_ptr<VUIListPickerFormCell> cell = std::make_shared<VUIListPickerFormCell>();
    int numberOfRowsInSection(UITableView&, int) override { return 1; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView&, const IndexPath&) override { return cell; }
};

class ListPicking : public CellEntry {
protected:
    void SetUp() override {
        CellEntry::SetUp();
        form->cell->valueOptions = {"Red", "Green", "Blue"};
        form->cell->onChangeHandler = record<std::vector<int>>();
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
        form->tableView()->layoutIfNeeded();
        dispatch::MainQueue::shared().runUntilIdle();
    }
    std::shared_ptr<ListPickerForm> form = std::make_shared<ListPickerForm>();
    std::shared_ptr<UINavigationController> nav = UINavigationController::make(form);
};

TEST_F(ListPicking, TappingTheRowOpensThePickerAndASinglePickClosesIt) {
    ASSERT_TRUE(form->tableView()->selectRow({0, 0}));
    auto screen = std::dynamic_pointer_cast<VUIListPickerTableViewController>(nav->topViewController());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->listPicker(), form->cell->listPicker());
    dispatch::MainQueue::shared().runUntilIdle();
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(screen->tableView()->cellForRow({0, 2})->textLabel()->text, "Blue");
    EXPECT_TRUE(screen->tableView()->selectRow({0, 2}));
    EXPECT_EQ(nav->topViewController(), form);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::vector<int>>(reported[0]), std::vector<int>{2});
    EXPECT_EQ(form->cell->valueLabel()->text, "Blue");
}

TEST_F(ListPicking, MultipleSelectionTogglesAndStaysOpen) {
    form->cell->allowsMultipleSelection = true;
    auto screen = form->cell->openPicker();
    auto picker = screen->listPicker();
    EXPECT_TRUE(picker->selectRow(0));
    EXPECT_TRUE(picker->selectRow(2));
    EXPECT_TRUE(picker->selectRow(0));
    EXPECT_EQ(form->cell->value(), std::vector<int>{2});
    EXPECT_EQ(nav->topViewController(), screen);
    EXPECT_FALSE(form->cell->pick({7})) << "no such item";
}

TEST_F(ListPicking, UniqueIdentifierModeNeedsADataSource) {
    form->cell->listPicker()->isDataSourceRequiringUniqueIdentifiers = true;
    form->cell->onUuidChangeHandler = record<std::vector<std::string>>();
    auto screen = form->cell->openPicker();
    EXPECT_FALSE(screen->listPicker()->selectRow(0));
    EXPECT_TRUE(form->cell->pickUniqueIdentifiers({"A1"}));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(std::get<std::vector<std::string>>(reported[0]), std::vector<std::string>{"A1"});
}

// Items as texts, a search that keeps the rows holding the text, and every
// search it was asked for.
class TextItems : public VUIListPickerDataSource, public VUIListPickerSearchResultsUpdating {
public:
    explicit TextItems(std::vector<std::string> items) : items(std::move(items)) {}
    int numberOfRowsIn(UITableView&) override { return static_cast<int>(shownRows().size()); }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& table, int row, bool) override {
        auto cell = table.dequeueReusableCell("UITableViewCell");
        cell->textLabel()->text = items[static_cast<std::size_t>(shownRows()[static_cast<std::size_t>(row)])];
        return cell;
    }
    std::shared_ptr<UITableViewCell> cellForItemWithUniqueIdentifier(UITableView&, const std::string&) override {
        return nullptr;
    }
    std::string uniqueIdentifierForItemAt(UITableView&, int) override { return {}; }
    int indexForUniqueIdentifier(UITableView&, const std::string&) override { return -1; }
    void updateSearchResults(VUIListPicker& picker, const std::string& text) override {
        searches.push_back(text);
        search = text;
        picker.reloadData();
    }
    bool filteredDataSourceContainsItemWithUniqueIdentifier(VUIListPicker&, const std::string&) override {
        return true;
    }
    bool filteredDataSourceContainsItemAt(VUIListPicker&, int) override { return true; }
    int unfilteredDataSourceIndexOfItemAt(VUIListPicker&, int row) override {
        return row < static_cast<int>(shownRows().size()) ? shownRows()[static_cast<std::size_t>(row)] : -1;
    }

    std::vector<int> shownRows() const {
        std::vector<int> rows;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].find(search) != std::string::npos) rows.push_back(static_cast<int>(i));
        }
        return rows;
    }
    std::vector<std::string> items;
    std::string search;
    std::vector<std::string> searches;
};

std::shared_ptr<TextItems> attachItems(VUIListPicker& picker, std::vector<std::string> items) {
    auto source = std::make_shared<TextItems>(std::move(items));
    picker.setSearchResultsUpdating(source);
    picker.setDataSource(source);
    return source;
}

std::vector<std::string> rowTexts(UITableView& table) {
    std::vector<std::string> texts;
    for (const auto& cell : table.visibleCells()) texts.push_back(cell->textLabel()->text.value_or(""));
    return texts;
}

TEST_F(ListPicking, APickerOpenedAgainShowsTheItemsItHasNow) {
    auto screen = form->cell->openPicker();
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(rowTexts(*screen->tableView()), (std::vector<std::string>{"Red", "Green", "Blue"}));
    nav->popViewController(false);
    screen.reset();

    form->cell->valueOptions = {"Cyan", "Magenta"};
    screen = form->cell->openPicker();
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(rowTexts(*screen->tableView()), (std::vector<std::string>{"Cyan", "Magenta"}));
    EXPECT_TRUE(screen->listPicker()->selectRow(1));
    EXPECT_EQ(std::get<std::vector<int>>(reported.at(0)), std::vector<int>{1});
    EXPECT_EQ(form->cell->valueLabel()->text, "Magenta");
}

TEST_F(ListPicking, AnotherDataSourceClearsTheSearchAndShowsInAnOpenPickerAtOnce) {
    auto picker = form->cell->listPicker();
    auto first = attachItems(*picker, {"Hammer", "Saw"});
    auto screen = form->cell->openPicker();
    screen->tableView()->layoutIfNeeded();
    picker->search("Sa");
    EXPECT_EQ(rowTexts(*screen->tableView()), std::vector<std::string>{"Saw"});

    auto second = attachItems(*picker, {"Drill", "File", "Plane"});
    EXPECT_EQ(picker->searchBar()->text, std::nullopt) << "the new source has no search to show";
    EXPECT_EQ(rowTexts(*screen->tableView()), (std::vector<std::string>{"Drill", "File", "Plane"}));
    EXPECT_TRUE(picker->selectRow(1));
    EXPECT_EQ(std::get<std::vector<int>>(reported.at(0)), std::vector<int>{1}) << "a tap lands on the row it shows";
    EXPECT_TRUE(second->searches.empty());
}

TEST_F(ListPicking, EveryOpeningStartsWithAnEmptySearch) {
    auto picker = form->cell->listPicker();
    auto source = attachItems(*picker, {"Hammer", "Saw"});
    form->cell->openPicker();
    picker->search("Sa");
    nav->popViewController(false);
    EXPECT_EQ(picker->searchBar()->text, "Sa") << "a closed picker keeps its bar as it was";

    auto screen = form->cell->openPicker();
    screen->tableView()->layoutIfNeeded();
    EXPECT_EQ(picker->searchBar()->text, std::nullopt);
    EXPECT_EQ(source->searches, (std::vector<std::string>{"Sa", ""})) << "the source took the search back";
    EXPECT_EQ(rowTexts(*screen->tableView()), (std::vector<std::string>{"Hammer", "Saw"}));

    nav->popViewController(false);
    form->cell->openPicker();
    EXPECT_EQ(source->searches.size(), 2u) << "an empty bar asks for nothing";
}

TEST_F(ListPicking, APickerWhoseCellIsGoneTakesNoSelection) {
    auto picker = form->cell->listPicker();
    form->cell.reset();
    form->tableView()->reloadData();
    EXPECT_EQ(picker->cell(), nullptr);
    EXPECT_FALSE(picker->selectRow(0));
}

}  // namespace

namespace {

// A reused cell's caption goes through captions longer and shorter than
// its room, none, and an empty one; each shows as given.
template <class Cell>
void expectCaptionsAsGiven() {
    auto cell = std::make_shared<Cell>();
    const std::string longCaption(300, 'c');
    const std::optional<std::string_view> captions[] = {"Row 1:",
                                                        longCaption,
                                                        "Row 2: a shorter one",
                                                        std::nullopt,
                                                        "",
                                                        "Row 3:",
                                                        std::string_view(longCaption).substr(0, 140)};
    for (const auto& caption : captions) {
        cell->setKeyName(caption);
        if (caption) {
            ASSERT_TRUE(cell->keyName().has_value());
            EXPECT_EQ(*cell->keyName(), *caption);
        } else {
            EXPECT_FALSE(cell->keyName().has_value());
        }
    }
}

}  // namespace

TEST(CellCaption, EveryCaptionShowsAsGivenWhateverTheOneBefore) {
    expectCaptionsAsGiven<VUISegmentedControlFormCell>();
    expectCaptionsAsGiven<VUIDurationPickerFormCell>();
    expectCaptionsAsGiven<VUIFilterFormCell>();
    expectCaptionsAsGiven<VUISwitchFormCell>();
    expectCaptionsAsGiven<VUITextFieldFormCell>();
    expectCaptionsAsGiven<VUIDatePickerFormCell>();
    expectCaptionsAsGiven<VUIListPickerFormCell>();
}

TEST(DurationText, TheLabelShowsHoursAndMinutesWhateverItShowedBefore) {
    const struct {
        double seconds;
        const char* shown;
    } cases[] = {
        {0, "0 min"},
        {59, "0 min"},
        {60, "1 min"},
        {3599, "59 min"},
        {3600, "1 h"},
        {5400, "1 h 30 min"},
        {7200, "2 h"},
        {86399, "23 h 59 min"},
        {-5, "0 min"},
        {std::nan(""), "0 min"},
        {1e20, "277777777777 h 46 min"},
    };
    auto cell = std::make_shared<VUIDurationPickerFormCell>();
    for (const auto& c : cases) {
        cell->setValue(c.seconds);
        EXPECT_EQ(cell->valueLabel()->text, c.shown) << c.seconds;
        EXPECT_EQ(VUIDurationPickerFormCell::durationText(c.seconds), c.shown) << c.seconds;
    }
}
