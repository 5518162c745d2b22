#include "formcells/FormCellFactory.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "formcells/ExtensionFormCell.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormCellType.h"
#include "formcells/FormTestSupport.h"
#include "platform/core/ClassInfo.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells {
namespace {

using testing::params;
using testing::RecordingDelegate;
using testing::reportingDelegate;
using Kind = FormCellType::Kind;

// An owner that stores what the road hands it, and notes the order of events.
class StoringOwner : public FormCellOwner {
public:
    void updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) override {
        stored.emplace_back(indexPath, change);
    }
    std::vector<std::pair<ui::IndexPath, core::Dictionary>> stored;
};

// A host view that makes its own cells.
class OwnCellView : public core::Object, public ExtensionFormCell {
public:
    void registerTo(ui::UITableView& tableView) override {
        ++registrations;
        tableView.registerClass<ui::UITableViewCell>("OwnCell");
    }
    std::shared_ptr<ui::UITableViewCell> dequeueReusableCell(ui::UITableView& tableView,
                                                             const ui::IndexPath& indexPath) override {
        return tableView.dequeueReusableCell("OwnCell", indexPath);
    }
    int registrations = 0;
};

// A host object of the runtime protocol for extension cell handlers.
class HandlerView : public core::Object {
public:
    bool conformsToProtocol(std::string_view protocol) const override {
        return protocol == FormCellFactory::kExtensionTableViewCellHandlerProtocol;
    }
    bool respondsToSelector(std::string_view s) const override {
        return s == "registerCellTo:" || s == "getReuseIdentifier" || s == "configureReusableCell:";
    }
    core::Value perform(std::string_view s, core::Args args) override {
        sent.emplace_back(s);
        if (s == "registerCellTo:") {
            if (auto t = args[0].ifObjectOf<ui::UITableView>()) t->registerClass<ui::UITableViewCell>("HandlerCell");
        }
        if (s == "getReuseIdentifier") return core::Value("HandlerCell");
        return {};
    }
    std::vector<std::string> sent;
};

class FactoryTest : public testing::FreshProcessTest {
protected:
    // Registers and builds a row of the given kind at row 0.
    std::shared_ptr<ui::UITableViewCell> build(Kind kind, const std::string& json = "{}",
                                               const ui::IndexPath& path = {0, 0}) {
        const std::string type(FormCellType::rawValue(kind));
        FormCellFactory::registerFormCell(*table, type, owner, delegate);
        return FormCellFactory::getFormCell(*table, path, type, params(json), owner, delegate);
    }

    // Views tagged as hosted extension views in a cell.
    static std::size_t hostedViews(const ui::UITableViewCell& cell) {
        std::size_t n = 0;
        for (const auto& v : cell.contentView()->subviews()) n += v->tag == FormCellFactory::extensionFormCellViewTag;
        return n;
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<ui::UITableView> table = std::make_shared<ui::UITableView>();
    std::shared_ptr<StoringOwner> owner = std::make_shared<StoringOwner>();
    std::shared_ptr<RecordingDelegate> delegate = reportingDelegate();
};

// ---- Kinds, registration and dispatch ---------------------------------------

class FactoryKinds : public FactoryTest {};

TEST_F(FactoryKinds, EveryKindBuildsItsCellClassUnderItsIdentifier) {
    const std::vector<std::pair<Kind, std::string>> expected = {
        {Kind::Title, "VUITitleFormCell"},
        {Kind::Note, "VUINoteFormCell"},
        {Kind::SimpleProperty, "VUITextFieldFormCell"},
        {Kind::ListPicker, "VUIListPickerFormCell"},
        {Kind::DatePicker, "VUIDatePickerFormCell"},
        {Kind::DurationPicker, "VUIDurationPickerFormCell"},
        {Kind::Switch, "VUISwitchFormCell"},
        {Kind::SegmentedControl, "VUISegmentedControlFormCell"},
        {Kind::Attachment, "VUIAttachmentsFormCell"},
        {Kind::Button, "VUIButtonFormCell"},
        {Kind::Filter, "VUIFilterFormCell"},
        {Kind::Sorter, "VUIFilterFormCell"},
        {Kind::Extension, "UITableViewCell"},
        {Kind::SignatureCapture, "VUITextFieldFormCell"},
    };
    for (const auto& [kind, className] : expected) {
        auto cell = build(kind);
        ASSERT_NE(cell, nullptr) << FormCellType::rawValue(kind);
        EXPECT_EQ(cell->className(), className) << FormCellType::rawValue(kind);
    }
}

TEST_F(FactoryKinds, SignatureAndSimplePropertyRowsUseTheirOwnIdentifiers) {
    auto text = build(Kind::SimpleProperty);
    auto signature = build(Kind::SignatureCapture, "{}", {0, 1});
    EXPECT_EQ(text->cellReuseIdentifier(), "VUITextFieldFormCell");
    EXPECT_EQ(signature->cellReuseIdentifier(), "SignatureCaptureFormCell");
    EXPECT_NE(text, signature);
}

TEST_F(FactoryKinds, ATypeThatIsNoKindRegistersNothingAndBuildsAnEmptyCellWithAWarning) {
    for (const std::string type : {"control.type.formcell.switch", "Control.Type.FormCell.Switch ", "Switch", ""}) {
        FormCellFactory::registerFormCell(*table, type, owner, delegate);
        EXPECT_FALSE(table->registeredClassName("VUISwitchFormCell")) << type;
        auto cell = FormCellFactory::getFormCell(*table, {0, 0}, type, {}, owner, delegate);
        ASSERT_NE(cell, nullptr) << type;
        EXPECT_EQ(cell->cellReuseIdentifier(), FormCellFactory::kUnknownFormCellReuseID);
        EXPECT_TRUE(testing::logged(core::Severity::warn, "\"" + type + "\""));
    }
    EXPECT_EQ(core::internal::Logging::captured().front().logger, core::SharedLoggerManager::kTRCLogger);
}

TEST_F(FactoryKinds, ACellOfAnotherClassUnderTheIdentifierComesBackUnconfigured) {
    table->registerClass<ui::UITableViewCell>(vessa::VUISwitchFormCell::reuseIdentifier());
    auto cell = FormCellFactory::getFormCell(*table, {0, 0}, std::string(FormCellType::rawValue(Kind::Switch)), {},
                                             owner, delegate);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->className(), "UITableViewCell");
}

TEST_F(FactoryKinds, LiveTrackingIsOnForExactlyTheFiveTextLikeKinds) {
    const std::set<Kind> live = {Kind::Title,      Kind::Note,           Kind::SimpleProperty,
                                 Kind::DatePicker, Kind::DurationPicker, Kind::SignatureCapture};
    int row = 0;
    for (Kind kind : FormCellType::all()) {
        auto cell = std::dynamic_pointer_cast<vessa::VUIBaseTableViewCell>(build(kind, "{}", {0, row++}));
        if (!cell) continue;
        EXPECT_EQ(cell->isTrackingLiveChanges, live.contains(kind)) << FormCellType::rawValue(kind);
    }
}

// ---- The value-change road ----------------------------------------------------

class FactoryValueRoad : public FactoryTest {
protected:
    // The one dictionary the delegate received, checked against what was stored.
    core::Value reported() {
        EXPECT_EQ(delegate->calls.size(), 1u);
        EXPECT_EQ(owner->stored.size(), 1u);
        if (delegate->calls.empty() || owner->stored.empty()) return {};
        EXPECT_EQ(delegate->calls[0].selector, "valueChangedWithParams");
        const auto& sent = delegate->calls[0].args.at(0);
        EXPECT_EQ(*sent.ifDictionary(), owner->stored[0].second);
        return sent.ifDictionary()->get("Value");
    }
};

TEST_F(FactoryValueRoad, EachKindReportsItsValueOfTheRightTypeAfterStoringIt) {
    auto title = std::dynamic_pointer_cast<vessa::VUITitleFormCell>(build(Kind::Title, "{}", {0, 3}));
    window->addSubview(title);  // a person can only type into a field on screen
    ASSERT_TRUE(title->enterValue("Pump 7"));
    EXPECT_EQ(reported(), core::Value("Pump 7"));
    EXPECT_EQ(owner->stored[0].first, (ui::IndexPath{0, 3}));

    owner->stored.clear(), delegate->calls.clear();
    auto sw = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(build(Kind::Switch));
    ASSERT_TRUE(sw->toggle());
    EXPECT_EQ(reported(), core::Value(true));

    owner->stored.clear(), delegate->calls.clear();
    auto segments = std::dynamic_pointer_cast<vessa::VUISegmentedControlFormCell>(build(Kind::SegmentedControl));
    segments->setValueOptions({"Low", "High"});
    ASSERT_TRUE(segments->select(1));
    EXPECT_EQ(reported(), core::Value(1));

    owner->stored.clear(), delegate->calls.clear();
    auto duration = std::dynamic_pointer_cast<vessa::VUIDurationPickerFormCell>(build(Kind::DurationPicker));
    ASSERT_TRUE(duration->pick(5400));
    EXPECT_EQ(reported(), core::Value(5400.0));
}

TEST_F(FactoryValueRoad, FilterAndSorterShareOneCellClassAndReportListsOfIntegers) {
    for (Kind kind : {Kind::Filter, Kind::Sorter}) {
        owner->stored.clear(), delegate->calls.clear();
        auto cell = std::dynamic_pointer_cast<vessa::VUIFilterFormCell>(build(kind));
        ASSERT_NE(cell, nullptr);
        cell->valueOptions = {"Open", "Closed", "All"};
        cell->allowsMultipleSelection = true;
        ASSERT_TRUE(cell->pick({0, 2}));
        EXPECT_EQ(reported(), core::Value(core::Array{core::Value(0), core::Value(2)}));
    }
}

TEST_F(FactoryValueRoad, ADelegateWithoutTheCallbackGetsNothingButTheValueIsStored) {
    delegate = std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{});
    auto sw = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(build(Kind::Switch));
    ASSERT_TRUE(sw->toggle());
    ASSERT_EQ(owner->stored.size(), 1u);
    EXPECT_EQ(owner->stored[0].second.get("Value"), core::Value(true));
    EXPECT_TRUE(delegate->calls.empty());
}

TEST_F(FactoryValueRoad, AChangeAfterTheOwnerOrTheDelegateIsGoneIsDropped) {
    auto sw = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(build(Kind::Switch));
    std::weak_ptr<RecordingDelegate> weakDelegate = delegate;
    auto keptDelegate = delegate;
    owner.reset();
    ASSERT_TRUE(sw->toggle());
    EXPECT_TRUE(keptDelegate->calls.empty());

    owner = std::make_shared<StoringOwner>();
    auto other = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(build(Kind::Switch, "{}", {0, 1}));
    delegate.reset();
    keptDelegate.reset();
    ASSERT_TRUE(weakDelegate.expired());
    ASSERT_TRUE(other->toggle());
    EXPECT_TRUE(owner->stored.empty());
}

TEST_F(FactoryValueRoad, AButtonPressSendsTheButtonAndStoresNothing) {
    auto cell = std::dynamic_pointer_cast<vessa::VUIButtonFormCell>(build(Kind::Button));
    ASSERT_TRUE(cell->press());
    ASSERT_EQ(delegate->calls.size(), 1u);
    const auto* sent = delegate->calls[0].args.at(0).ifDictionary();
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->size(), 1u);
    EXPECT_EQ(sent->get("Button").ifObject(), cell->button());
    EXPECT_TRUE(owner->stored.empty());

    delegate->calls.clear();
    std::weak_ptr<RecordingDelegate> weak = delegate;
    delegate.reset();
    EXPECT_TRUE(weak.expired());
    cell->press();  // nobody to tell: nothing happens
}

TEST_F(FactoryValueRoad, AReusedListPickerCellLosesTheHandlerOfItsEarlierRow) {
    auto first = std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(build(Kind::ListPicker));
    ASSERT_TRUE(first->onChangeHandler);
    first->onUuidChangeHandler = [](const std::vector<std::string>&) { FAIL() << "stale handler ran"; };
    table->layoutIfNeeded();  // no data source: nothing shown, the cell goes back to the pool
    auto again = FormCellFactory::getFormCell(*table, {0, 1}, std::string(FormCellType::rawValue(Kind::ListPicker)), {},
                                              owner, delegate);
    auto picker = std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(again);
    ASSERT_NE(picker, nullptr);
    EXPECT_FALSE(picker->onUuidChangeHandler);
    EXPECT_TRUE(picker->onChangeHandler);
}

// An owner that shows its named rows where the test says.
class NamingOwner : public StoringOwner {
public:
    std::optional<ui::IndexPath> indexPathOfShownCell(const std::string& name) const override {
        auto at = shown.find(name);
        return at == shown.end() ? std::nullopt : std::optional<ui::IndexPath>(at->second);
    }
    std::map<std::string, ui::IndexPath> shown;
};

// A table of one row, built by the factory as the test says; each showing
// gives the row's cell back to the pool and builds the row again in it.
class OneRowSource : public ui::UITableViewDataSource {
public:
    int numberOfRowsInSection(ui::UITableView& /*tableView*/, int /*section*/) override { return 1; }
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView, const ui::IndexPath&) override {
        const std::string type(FormCellType::rawValue(kind));
        FormCellFactory::registerFormCell(tableView, type, owner, delegate);
        return FormCellFactory::getFormCell(tableView, path, type, params(json), owner, delegate);
    }
    Kind kind = Kind::Switch;
    std::string json = "{}";
    ui::IndexPath path;
    std::shared_ptr<FormCellOwner> owner;
    std::shared_ptr<RecordingDelegate> delegate;
};

class FactoryReuse : public FactoryValueRoad {
protected:
    void SetUp() override {
        FactoryValueRoad::SetUp();
        window->addSubview(table);
        table->setDataSource(source);
    }
    // The one row's cell, shown as the row is now.
    template <class Cell>
    std::shared_ptr<Cell> show(Kind kind, std::string json, const ui::IndexPath& path) {
        source->kind = kind, source->json = std::move(json), source->path = path;
        source->owner = owner, source->delegate = delegate;
        table->reloadData();
        table->layoutIfNeeded();
        return std::dynamic_pointer_cast<Cell>(table->cellForRow({0, 0}));
    }
    std::shared_ptr<OneRowSource> source = std::make_shared<OneRowSource>();
};

TEST_F(FactoryReuse, AReusedCellReportsToItsNewRowOwnerAndCallbackObjectOnly) {
    auto first = show<vessa::VUISwitchFormCell>(Kind::Switch, "{}", {0, 0});
    ASSERT_NE(first, nullptr);
    const auto earlierOwner = owner;
    const auto earlierDelegate = delegate;
    for (bool newOwner : {false, true}) {
        if (newOwner) owner = std::make_shared<StoringOwner>();
        delegate = reportingDelegate();
        auto again = show<vessa::VUISwitchFormCell>(Kind::Switch, "{}", {0, 5});
        ASSERT_EQ(again, first) << "the pool's one cell, reused";
        ASSERT_TRUE(again->toggle());
        reported();  // one change, stored and sent
        EXPECT_EQ(owner->stored[0].first, (ui::IndexPath{0, 5}));
        EXPECT_TRUE(earlierDelegate->calls.empty());
        if (newOwner) {
            EXPECT_TRUE(earlierOwner->stored.empty());
        }
        owner->stored.clear();
    }
}

// A list picker's pick finds its row by the row's name, when it has one, so
// a reused cell must find the row it shows now, never the one it showed.
TEST_F(FactoryReuse, AReusedListPickerFindsItsRowByTheNewRowsNameOrPlace) {
    struct Case {
        const char* earlier;  // the first row's "_Name", or none
        const char* later;
        std::optional<ui::IndexPath> reportedAt;
    };
    const Case cases[] = {
        {"Pump", nullptr, ui::IndexPath{0, 4}},  // no name now: the row's place
        {nullptr, "Valve", ui::IndexPath{0, 9}},
        {"Pump", "Valve", ui::IndexPath{0, 9}},
        {"Pump", "Gone", std::nullopt},  // a row no longer shown takes nothing
        {"A pump with a name longer than a short text", "P", ui::IndexPath{0, 2}},
        {"P", "A pump with a name longer than a short text", ui::IndexPath{0, 3}},
    };
    const auto json = [](const char* name) {
        return name ? R"({"PickerItems": ["Red", "Green"], "_Name": ")" + std::string(name) + R"("})"
                    : std::string(R"({"PickerItems": ["Red", "Green"]})");
    };
    for (const auto& c : cases) {
        auto naming = std::make_shared<NamingOwner>();
        naming->shown = {{"Pump", {0, 1}}, {"Valve", {0, 9}}, {"P", {0, 2}}, {cases[5].later, {0, 3}}};
        owner = naming;
        delegate = reportingDelegate();
        auto first = show<vessa::VUIListPickerFormCell>(Kind::ListPicker, json(c.earlier), {0, 0});
        auto cell = show<vessa::VUIListPickerFormCell>(Kind::ListPicker, json(c.later), {0, 4});
        ASSERT_NE(cell, nullptr);
        ASSERT_EQ(cell, first) << "the pool's one cell, reused";
        ASSERT_TRUE(cell->pick({1}));
        const std::string label =
            std::string(c.earlier ? c.earlier : "(none)") + " -> " + (c.later ? c.later : "(none)");
        if (!c.reportedAt) {
            EXPECT_TRUE(naming->stored.empty()) << label;
            EXPECT_TRUE(delegate->calls.empty()) << label;
            continue;
        }
        ASSERT_EQ(naming->stored.size(), 1u) << label;
        EXPECT_EQ(naming->stored[0].first, *c.reportedAt) << label;
    }
}

// ---- Extension registration ----------------------------------------------------

class FactoryExtension : public FactoryTest {
protected:
    void useView(std::shared_ptr<core::Object> view) {
        delegate = std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"getView"}, std::move(view));
    }
};

TEST_F(FactoryExtension, WithoutAViewThePlainCellIsRegisteredAndStaysEmpty) {
    useView(nullptr);
    auto cell = build(Kind::Extension);
    EXPECT_EQ(table->registeredClassName("ExtensionFormCell"), "UITableViewCell");
    EXPECT_EQ(hostedViews(*cell), 0u);
    // Asked once to register, once to build.
    EXPECT_EQ(delegate->calls.size(), 2u);
}

TEST_F(FactoryExtension, AViewThatMakesItsOwnCellRegistersAndDequeuesIt) {
    auto view = std::make_shared<OwnCellView>();
    useView(view);
    auto cell = build(Kind::Extension);
    EXPECT_EQ(view->registrations, 1);
    EXPECT_EQ(cell->cellReuseIdentifier(), "OwnCell");
    EXPECT_EQ(owner->tableViewForExtension(), nullptr);
}

TEST_F(FactoryExtension, AHandlerRegistersThroughTheRuntimeAndConfiguresItsCell) {
    auto view = std::make_shared<HandlerView>();
    useView(view);
    auto cell = build(Kind::Extension);
    EXPECT_EQ(owner->tableViewForExtension(), table);
    EXPECT_EQ((view->sent),
              (std::vector<std::string>{"registerCellTo:", "getReuseIdentifier", "configureReusableCell:"}));
    EXPECT_EQ(cell->cellReuseIdentifier(), "HandlerCell");
    EXPECT_EQ(owner->tableViewCellForExtension(), cell);
}

TEST_F(FactoryExtension, APlainViewIsHostedInThePlainCellUnderTheTag) {
    auto label = std::make_shared<ui::UILabel>();
    useView(label);
    auto cell = build(Kind::Extension);
    EXPECT_EQ(hostedViews(*cell), 1u);
    EXPECT_EQ(label->superview(), cell->contentView());
    EXPECT_EQ(label->tag, 20180101);
    // Another tag set before the row is built marks the view with it.
    auto other = std::make_shared<ui::UILabel>();
    useView(other);
    FormCellFactory::extensionFormCellViewTag = 7;
    build(Kind::Extension, "{}", {0, 1});
    EXPECT_EQ(other->tag, 7);
}

// ---- The list picker reload -------------------------------------------------------

class FactoryReload : public FactoryTest {};

TEST_F(FactoryReload, OnlyThePickerOnTopIsReloadedAndOnlyLater) {
    auto cell = std::dynamic_pointer_cast<vessa::VUIListPickerFormCell>(build(Kind::ListPicker));
    auto nav = ui::UINavigationController::make(std::make_shared<vessa::VUIListPickerTableViewController>());
    EXPECT_FALSE(FormCellFactory::reloadCellData(cell, nav));

    nav =
        ui::UINavigationController::make(std::make_shared<vessa::VUIListPickerTableViewController>(cell->listPicker()));
    const int before = cell->listPicker()->reloadDataCount();
    EXPECT_TRUE(FormCellFactory::reloadCellData(cell, nav));
    EXPECT_EQ(cell->listPicker()->reloadDataCount(), before);
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(cell->listPicker()->reloadDataCount(), before + 1);

    EXPECT_FALSE(FormCellFactory::reloadCellData(
        cell, ui::UINavigationController::make(std::make_shared<ui::UIViewController>())));
}

}  // namespace
}  // namespace trc::formcells
