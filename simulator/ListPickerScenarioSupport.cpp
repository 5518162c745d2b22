#include "simulator/ListPickerScenarioSupport.h"

#include "formcells/ListPickerDataSource.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/StepFields.h"
#include "simulator/UiScreen.h"

namespace trc::simulator {

namespace {

constexpr const char* kText = "text";

std::shared_ptr<vessa::VUIListPickerTableViewController> pickerScreen() {
    auto screen = std::dynamic_pointer_cast<vessa::VUIListPickerTableViewController>(UiScreen::screenViewController());
    if (!screen) throw ScenarioError("no list picker on screen");
    return screen;
}

void openPicker(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    const ui::IndexPath path = rowIn(step);
    const std::optional<int> rows = rowsOnScreenIn(step);
    auto table = UiScreen::tableOnScreen();
    if (!table || !table->selectRow(path)) throw ScenarioError("row " + path.description() + " is not on screen");
    settle();
    auto picker = pickerScreen()->tableView();
    picker->setRowsOnScreen(rows);
    picker->layoutSubviews();
    settle();
}

void search(ScenarioContext& ctx, const core::Dictionary& step) {
    pickerScreen()->listPicker()->search(textIn(ctx, step, kText));
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
