#include <gtest/gtest.h>

#include "platform/core/Dictionary.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIFormTableViewController.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "simulator/HostRootViewController.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/UiScenarioSupport.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::simulator;
using namespace trc::ui;
using namespace trc::vessa;

namespace {

// Resolves "$form" to the form under test; keeps the lines written for people.
class FakeContext : public ScenarioContext {
public:
    std::map<std::string, core::Value> objects;
    std::vector<core::Value> written;
    core::Value resolve(const core::Value& raw) override {
        if (const std::string* s = raw.ifString(); s && s->starts_with("$")) return objects.at(s->substr(1));
        return raw;
    }
    std::filesystem::path scenarioDir() const override { return {}; }
    void writeToTranscript(const core::Value& line) override { written.push_back(line); }
};

// A form of 6 rows: a text field (digits only), a switch, a button, then three list pickers.
class Form : public VUIFormTableViewController, public UITextFieldDelegate {
public:
    std::vector<std::string> log;
    int numberOfRowsInSection(UITableView&, int) override { return 6; }
    void viewDidLoad() override {
        tableView()->registerClass<VUITextFieldFormCell>(VUITextFieldFormCell::reuseIdentifier());
        tableView()->registerClass<VUISwitchFormCell>(VUISwitchFormCell::reuseIdentifier());
        tableView()->registerClass<VUIButtonFormCell>(VUIButtonFormCell::reuseIdentifier());
        tableView()->registerClass<VUIListPickerFormCell>(VUIListPickerFormCell::reuseIdentifier());
    }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& table, const IndexPath& p) override {
        std::weak_ptr<Form> self = std::static_pointer_cast<Form>(shared_from_this());
        auto note = [self](std::string entry) {
            if (auto form = self.lock()) form->log.push_back(std::move(entry));
        };
        if (p.row == 0) {
            auto cell = std::static_pointer_cast<VUITextFieldFormCell>(
                table.dequeueReusableCell(VUITextFieldFormCell::reuseIdentifier(), p));
            cell->setKeyName("Amount");
            cell->isTrackingLiveChanges = true;
            cell->valueTextField()->setDelegate(std::shared_ptr<UITextFieldDelegate>(self.lock(), this));
            cell->onChangeHandler = [note](const std::string& v) { note("text " + v); };
            return cell;
        }
        if (p.row == 1) {
            auto cell = std::static_pointer_cast<VUISwitchFormCell>(
                table.dequeueReusableCell(VUISwitchFormCell::reuseIdentifier(), p));
            cell->onChangeHandler = [note](bool v) { note(v ? "switch on" : "switch off"); };
            return cell;
        }
        if (p.row == 2) {
            auto cell = std::static_pointer_cast<VUIButtonFormCell>(
                table.dequeueReusableCell(VUIButtonFormCell::reuseIdentifier(), p));
            cell->button()->setTitle("Send");
            cell->onChangeHandler = [note](UIControl::Event) { note("pressed"); };
            return cell;
        }
        auto cell = std::static_pointer_cast<VUIListPickerFormCell>(
            table.dequeueReusableCell(VUIListPickerFormCell::reuseIdentifier(), p));
        cell->setKeyName("Pick " + std::to_string(p.row));
        cell->valueOptions = {"a", "b"};
        cell->onChangeHandler = [note](const std::vector<int>& v) { note("picked " + std::to_string(v.size())); };
        return cell;
    }
    bool textFieldShouldChangeCharactersIn(UITextField&, NSRange, const std::string& s) override {
        return s.find_first_not_of("0123456789") == std::string::npos;
    }
    void didSelectRowAt(UITableView& table, const IndexPath& p) override {
        log.push_back("selected " + p.description());
        VUIFormTableViewController::didSelectRowAt(table, p);
    }
};

core::Dictionary step(std::initializer_list<std::pair<const char*, core::Value>> entries) {
    core::Dictionary d;
    for (const auto& [k, v] : entries) d.set(k, v);
    return d;
}

class UiScenario : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        UiScenarioSupport::install();
        ScenarioExtensions::processStarted();
        ctx.objects["form"] = core::Value(form);
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    void run(const std::string& kind, const core::Dictionary& s) {
        if (auto stepFn = ScenarioExtensions::step(kind)) return (*stepFn)(ctx, s);
        auto action = ScenarioExtensions::userAction(kind);
        ASSERT_NE(action, nullptr) << kind;
        (*action)(ctx, s);
        dispatch::MainQueue::shared().runUntilIdle();
    }
    std::optional<core::Value> check(const std::string& receiver, const core::Dictionary& s = {}) {
        return (*ScenarioExtensions::checkReceiver(receiver))(ctx, s);
    }
    void show(int rows) { run("show", step({{"show", "$form"}, {"rowsOnScreen", rows}})); }

    FakeContext ctx;
    std::shared_ptr<Form> form = std::make_shared<Form>();
};

TEST_F(UiScenario, TheProcessStartsWithTheHostsEmptyRoot) {
    auto screen = check("screen");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->ifObject()->className(), "HostRootViewController");
    EXPECT_FALSE(check("table"));
    EXPECT_FALSE(check("alert"));
}

TEST_F(UiScenario, ShowBuildsOnlyTheRowsThatFit) {
    show(3);
    auto table = check("table");
    ASSERT_TRUE(table);
    EXPECT_EQ(*table->find("rowCounts"), core::Value(core::Array{6}));
    EXPECT_EQ(*table->find("numberOfSections"), core::Value(1));
    EXPECT_EQ(*table->find("visibleRows"),
              core::Value(core::Array{core::Array{0, 0}, core::Array{0, 1}, core::Array{0, 2}}));
    EXPECT_FALSE(check("cell", step({{"section", 0}, {"row", 4}}))) << "off screen";
    EXPECT_EQ(check("cell", step({{"section", 0}, {"row", 0}}))->ifObject()->valueForKey("keyName"),
              core::Value("Amount"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(UiScenario, ScrollBringsRowsOnScreen) {
    show(3);
    run("scroll", step({{"section", 0}, {"row", 5}}));
    EXPECT_EQ(*check("table")->find("visibleRows"),
              core::Value(core::Array{core::Array{0, 3}, core::Array{0, 4}, core::Array{0, 5}}));
    EXPECT_THROW(run("scroll", step({{"section", 0}, {"row", 6}})), ScenarioError);
}

TEST_F(UiScenario, EntriesReachTheCellsHandlers) {
    show(6);
    run("type", step({{"section", 0}, {"row", 0}, {"text", "1x2"}}));
    run("change", step({{"section", 0}, {"row", 1}, {"value", true}}));
    run("press", step({{"section", 0}, {"row", 2}}));
    run("change", step({{"section", 0}, {"row", 3}, {"value", core::Array{1}}}));
    EXPECT_EQ(form->log, (std::vector<std::string>{"text 1", "text 12", "switch on", "pressed", "picked 1"}));
}

TEST_F(UiScenario, EntriesOfTheWrongKindOrOffScreenFailTheStep) {
    show(2);
    EXPECT_THROW(run("change", step({{"section", 0}, {"row", 1}, {"value", "yes"}})), ScenarioError);
    EXPECT_THROW(run("type", step({{"section", 0}, {"row", 1}, {"text", "x"}})), ScenarioError);
    EXPECT_THROW(run("press", step({{"section", 0}, {"row", 4}})), ScenarioError);
    EXPECT_THROW(run("tap", step({{"section", 0}, {"row", "1"}})), ScenarioError);
    EXPECT_TRUE(form->log.empty());
}

TEST_F(UiScenario, TapOpensAListPickerWhichBecomesTheScreen) {
    auto nav = UINavigationController::make(form);
    ctx.objects["nav"] = core::Value(nav);
    run("show", step({{"show", "$nav"}}));
    run("tap", step({{"section", 0}, {"row", 4}}));
    EXPECT_EQ(form->log.front(), "selected [0, 4]");
    EXPECT_EQ(check("screen")->ifObject()->className(), "VUIListPickerTableViewController");
    EXPECT_EQ(*check("table")->find("rowCounts"), core::Value(core::Array{2}));
}

TEST_F(UiScenario, AlertsAreCheckedAndTappedByTitleAndLeaveTheScreenBeneath) {
    show(1);
    auto alert = UIAlertController::make("Sure?", std::nullopt);
    bool ok = false;
    alert->addAction(UIAlertAction::make("Cancel", UIAlertAction::Style::Cancel));
    alert->addAction(UIAlertAction::make("Ok", UIAlertAction::Style::Default, [&](UIAlertAction&) { ok = true; }));
    form->present(alert, true);
    dispatch::MainQueue::shared().runUntilIdle();
    EXPECT_EQ(check("screen")->ifObject(), form);
    auto summary = check("alert");
    ASSERT_TRUE(summary);
    EXPECT_EQ(*summary->find("title"), core::Value("Sure?"));
    EXPECT_TRUE(summary->find("message")->isNil());
    EXPECT_EQ(*summary->find("actions"), core::Value(core::Array{"Cancel", "Ok"}));
    EXPECT_THROW(run("alert", step({{"action", "Nope"}})), ScenarioError);
    run("alert", step({{"action", "Ok"}}));
    EXPECT_TRUE(ok);
    EXPECT_FALSE(check("alert"));
}

TEST_F(UiScenario, DumpDescribesTheScreenForPeople) {
    show(2);
    run("change", step({{"section", 0}, {"row", 1}, {"value", true}}));
    run("dump", step({{"dump", "screen"}}));
    ASSERT_EQ(ctx.written.size(), 3u);
    EXPECT_EQ(ctx.written[0], core::Value("screen VUIFormTableViewController"));
    EXPECT_EQ(ctx.written[1], core::Value("[0, 0] VUITextFieldFormCell | \"Amount\" | \"\""));
    EXPECT_EQ(ctx.written[2], core::Value("[0, 1] VUISwitchFormCell | - | on"));
}

TEST_F(UiScenario, ShowNeedsAViewController) {
    ctx.objects["text"] = core::Value("plain");
    EXPECT_THROW(run("show", step({{"show", "$text"}})), ScenarioError);
    EXPECT_THROW(run("show", step({{"show", "$form"}, {"rowsOnScreen", -1}})), ScenarioError);
}

}  // namespace
