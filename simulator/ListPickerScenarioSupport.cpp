#include "simulator/ListPickerScenarioSupport.h"

#include "formcells/ListPickerDataSource.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/UiScreen.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerTableViewController.h"

namespace trc::simulator {

namespace {

constexpr const char* kSection = "section";
constexpr const char* kRow = "row";
constexpr const char* kRowsOnScreen = "rowsOnScreen";
constexpr const char* kText = "text";

void settle() { dispatch::MainQueue::shared().runUntilIdle(); }

std::optional<int> intIn(const core::Dictionary& step, const char* key, bool required) {
    const core::Value* v = step.find(key);
    if (!v && !required) return std::nullopt;
    const std::int64_t* i = v ? v->ifInteger() : nullptr;
    if (!i) throw ScenarioError(std::string("\"") + key + "\" must be an integer");
    return static_cast<int>(*i);
}

std::shared_ptr<vessa::VUIListPickerTableViewController> pickerScreen() {
    auto screen = std::dynamic_pointer_cast<vessa::VUIListPickerTableViewController>(UiScreen::screenViewController());
    if (!screen) throw ScenarioError("no list picker on screen");
    return screen;
}

void openPicker(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    const ui::IndexPath path{*intIn(step, kSection, true), *intIn(step, kRow, true)};
    const std::optional<int> rows = intIn(step, kRowsOnScreen, false);
    if (rows && *rows < 0) throw ScenarioError("\"rowsOnScreen\" must not be negative");
    auto table = UiScreen::tableOnScreen();
    if (!table || !table->selectRow(path)) throw ScenarioError("row " + path.description() + " is not on screen");
    settle();
    auto picker = pickerScreen()->tableView();
    picker->setRowsOnScreen(rows);
    picker->layoutSubviews();
    settle();
}

void search(ScenarioContext& ctx, const core::Dictionary& step) {
    const core::Value text = ctx.resolve(step.get(kText));
    if (!text.ifString()) throw ScenarioError("\"text\" must be a string");
    pickerScreen()->listPicker()->search(*text.ifString());
}

void searchButton(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    pickerScreen()->listPicker()->pressSearchButton();
}

// As the picker's back button: the screen leaves its navigation stack, or
// goes with the navigation controller presented for it.
void closePicker(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    auto screen = pickerScreen();
    auto nav = screen->navigationController();
    if (!nav) throw ScenarioError("the list picker on screen has no way back");
    if (nav->viewControllers().size() > 1) {
        nav->popViewController(true);
    } else {
        nav->dismiss(true);
    }
    settle();
}

}  // namespace

void ListPickerScenarioSupport::install() {
    ScenarioExtensions::addUserAction("openPicker", openPicker);
    ScenarioExtensions::addUserAction("search", search);
    ScenarioExtensions::addUserAction("searchButton", searchButton);
    ScenarioExtensions::addUserAction("closePicker", closePicker);
}

}  // namespace trc::simulator
