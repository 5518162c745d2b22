// A small host application: registers the library's classes, builds a
// full-screen form through FormCellContainerBridge as a host does (class name,
// selector, host values), shows it, lets a person flip its switch, and prints
// what the host hears on its callback objects.

#include <chrono>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "host/HostRegistry.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Json.h"
#include "platform/core/Object.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewController.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUISwitchFormCell.h"

using namespace trc;

namespace {

// The host's callback object for one row: answers the names it lists and
// prints every call it receives.
class RowCallback : public core::Object {
public:
    RowCallback(std::string row, std::set<std::string, std::less<>> answers)
        : row_(std::move(row)), answers_(std::move(answers)) {}

    bool respondsToSelector(std::string_view selector) const override { return answers_.contains(selector); }
    core::Value perform(std::string_view selector, core::Args args) override {
        core::Array list(args.begin(), args.end());
        std::cout << "host hears: " << row_ << " " << selector << " " << core::Json::write(core::Value(list)) << "\n";
        return {};
    }

private:
    std::string row_;
    std::set<std::string, std::less<>> answers_;
};

core::Value json(const char* text) { return core::Json::parse(text); }

}  // namespace

int main() {
    host::HostRegistry::registerAll();
    std::cout << "library texts: " << (foundation::Bundle::framework()->localizations().empty() ? "missing" : "found")
              << "\n";

    const core::ClassInfo* bridge = core::ClassRegistry::shared().find("FormCellContainerBridge");
    if (!bridge) {
        std::cerr << "host-app: no class FormCellContainerBridge\n";
        return 1;
    }
    std::shared_ptr<core::Object> instance = bridge->instantiate();
    auto send = [&](const char* selector, core::Array args) { return instance->perform(selector, core::Args(args)); };

    core::Value form = send("createWithParams:", {json(R"({"numberOfSections": 1, "numberOfRowsInSection": [2],
                                                           "sectionNames": ["Profile"], "locale": "en_US"})")});
    auto title = std::make_shared<RowCallback>("title", std::set<std::string, std::less<>>{"valueChangedWithParams"});
    auto notify = std::make_shared<RowCallback>("notify", std::set<std::string, std::less<>>{"valueChangedWithParams"});
    send("populateController:withParams:andBridge:",
         {form, json(R"({"_Type": "Control.Type.FormCell.Title", "_Name": "title", "Value": "Work order 4711"})"),
          core::Value(title)});
    send("populateController:withParams:andBridge:",
         {form, json(R"({"_Type": "Control.Type.FormCell.Switch", "_Name": "notify", "Caption": "Notify me",
                   "Value": false})"),
          core::Value(notify)});

    // The host shows the form in its window.
    auto controller = form.ifObjectOf<ui::UITableViewController>();
    if (!controller) {
        std::cerr << "host-app: createWithParams: gave no form\n";
        return 1;
    }
    auto window = std::make_shared<ui::UIWindow>();
    window->setRootViewController(controller);
    window->makeKeyAndVisible();
    dispatch::MainQueue::shared().runUntilIdle();
    auto table = controller->tableView();
    table->layoutSubviews();
    std::cout << "form shows " << table->numberOfRowsInSection(0) << " rows\n";

    // A person flips the switch.
    auto cell = std::dynamic_pointer_cast<vessa::VUISwitchFormCell>(table->cellForRow({.section = 0, .row = 1}));
    if (!cell) {
        std::cerr << "host-app: row 1 is no switch\n";
        return 1;
    }
    cell->enterValue(true);
    dispatch::MainQueue::shared().runUntilIdle();

    // The main queue runs in real time unless the application chooses another
    // clock: a timer the host sets fires once its interval has passed, while
    // the application runs the queue.
    dispatch::MainQueue& queue = dispatch::MainQueue::shared();
    const auto set = std::chrono::steady_clock::now();
    queue.scheduleTimer(0.05, false, [&](dispatch::Timer&) {
        const bool waited = std::chrono::steady_clock::now() - set >= std::chrono::milliseconds(50);
        std::cout << "reminder fired " << (waited ? "after its interval" : "too early") << "\n";
        queue.stop();
    });
    queue.run();
    return 0;
}
