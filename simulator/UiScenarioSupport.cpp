#include "simulator/UiScenarioSupport.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDatePicker.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewController.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIFormTableViewController.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUIObjectTableViewCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITableViewHeaderFooterView.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "simulator/HostRootViewController.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/StepFields.h"
#include "simulator/UiScreen.h"

namespace trc::simulator {

namespace {

using namespace trc::vessa;

// Step and action names as scenarios write them.
constexpr const char* kShow = "show";
constexpr const char* kDump = "dump";
constexpr const char* kInNavigation = "inNavigation";
constexpr const char* kValue = "value";
constexpr const char* kText = "text";
constexpr const char* kAction = "action";

std::string textOrFail(const core::Value& v, const char* key) {
    const std::string* s = v.ifString();
    if (!s) throw ScenarioError(std::string("\"") + key + "\" must be a text for this cell");
    return *s;
}

template <class T>
std::vector<T> listOf(const core::Array& items) {
    std::vector<T> out;
    for (const auto& item : items) {
        if constexpr (std::is_same_v<T, int>) {
            out.push_back(static_cast<int>(*item.ifInteger()));
        } else {
            out.push_back(*item.ifString());
        }
    }
    return out;
}

bool allOf(const core::Array& items, bool (core::Value::*is)() const) {
    return std::all_of(items.begin(), items.end(), [is](const core::Value& v) { return (v.*is)(); });
}

void show(ScenarioContext& ctx, const core::Dictionary& step) {
    auto vc = ctx.resolve(valueIn(step, kShow)).ifObjectOf<ui::UIViewController>();
    if (!vc) throw ScenarioError("\"show\" takes a view controller");
    if (const core::Value* nav = step.find(kInNavigation)) {
        if (!nav->isBool()) throw ScenarioError("\"inNavigation\" must be true or false");
        // As a host shows a page: as the root of a navigation controller of its own.
        if (*nav->ifBool()) vc = ui::UINavigationController::make(vc);
    }
    const std::optional<int> rows = rowsOnScreenIn(step);
    auto window = UiScreen::keyWindow();
    window->setRootViewController(vc);
    settle();
    if (auto table = UiScreen::tableOnScreen()) {
        table->setRowsOnScreen(rows);
        table->layoutSubviews();
    }
    settle();
}

void dump(ScenarioContext& ctx, const core::Dictionary& /*step*/) {
    for (const auto& line : UiScreen::describeScreen()) ctx.writeToTranscript(core::Value(line));
}

void change(ScenarioContext& ctx, const core::Dictionary& step) {
    auto cell = cellIn(step);
    core::Value value = ctx.resolve(valueIn(step, kValue));
    const std::string what = "a change of " + cell->className();
    if (auto c = std::dynamic_pointer_cast<VUITextFieldFormCell>(cell)) {
        refusedUnless(c->enterValue(textOrFail(value, kValue)), what);
    } else if (auto c = std::dynamic_pointer_cast<VUITitleFormCell>(cell)) {
        refusedUnless(c->enterValue(textOrFail(value, kValue)), what);
    } else if (auto c = std::dynamic_pointer_cast<VUINoteFormCell>(cell)) {
        refusedUnless(c->enterValue(textOrFail(value, kValue)), what);
    } else if (auto c = std::dynamic_pointer_cast<VUISwitchFormCell>(cell)) {
        if (!value.isBool()) throw ScenarioError("a switch takes true or false");
        refusedUnless(c->enterValue(*value.ifBool()), what);
    } else if (auto c = std::dynamic_pointer_cast<VUISegmentedControlFormCell>(cell)) {
        if (!value.isInteger()) throw ScenarioError("a segmented control takes a segment index");
        refusedUnless(c->select(static_cast<int>(*value.ifInteger())), what);
    } else if (auto c = std::dynamic_pointer_cast<VUIDatePickerFormCell>(cell)) {
        if (!value.isDate()) throw ScenarioError("a date picker takes a date ({\"$date\": ...})");
        refusedUnless(c->pick(*value.ifDate()), what);
    } else if (auto c = std::dynamic_pointer_cast<VUIDurationPickerFormCell>(cell)) {
        auto seconds = value.asDouble();
        if (!seconds) throw ScenarioError("a duration picker takes seconds");
        refusedUnless(c->pick(*seconds), what);
    } else if (auto c = std::dynamic_pointer_cast<VUIListPickerFormCell>(cell)) {
        const core::Array* items = value.ifArray();
        if (items && allOf(*items, &core::Value::isInteger)) {
            refusedUnless(c->pick(listOf<int>(*items)), what);
        } else if (items && allOf(*items, &core::Value::isString)) {
            refusedUnless(c->pickUniqueIdentifiers(listOf<std::string>(*items)), what);
        } else {
            throw ScenarioError("a list picker takes a list of item indexes or of unique identifiers");
        }
    } else if (auto c = std::dynamic_pointer_cast<VUIFilterFormCell>(cell)) {
        const core::Array* items = value.ifArray();
        if (!items || !allOf(*items, &core::Value::isInteger))
            throw ScenarioError("a filter takes a list of option indexes");
        refusedUnless(c->pick(listOf<int>(*items)), what);
    } else {
        throw ScenarioError("the cell " + cell->className() + " takes no value");
    }
}

void type(ScenarioContext& ctx, const core::Dictionary& step) {
    auto cell = cellIn(step);
    const std::string text = textIn(ctx, step, kText);
    const std::string what = "typing into " + cell->className();
    if (auto c = std::dynamic_pointer_cast<VUITextFieldFormCell>(cell)) {
        refusedUnless(c->type(text), what);
    } else if (auto c = std::dynamic_pointer_cast<VUITitleFormCell>(cell)) {
        refusedUnless(c->type(text), what);
    } else if (auto c = std::dynamic_pointer_cast<VUINoteFormCell>(cell)) {
        refusedUnless(c->type(text), what);
    } else {
        throw ScenarioError("the cell " + cell->className() + " has no text to type into");
    }
}

void tap(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    auto path = rowIn(step);
    if (!tableOnScreenOrFail()->selectRow(path)) throw ScenarioError("row " + path.description() + " is not on screen");
}

std::shared_ptr<ui::UIButton> firstButton(const std::shared_ptr<ui::UIView>& view) {
    if (auto button = std::dynamic_pointer_cast<ui::UIButton>(view); button && !button->isHidden()) return button;
    for (const auto& sub : view->subviews()) {
        if (sub->isHidden()) continue;
        if (auto button = firstButton(sub)) return button;
    }
    return nullptr;
}

void press(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    auto cell = cellIn(step);
    auto button = firstButton(cell);
    if (!button) throw ScenarioError("the cell " + cell->className() + " shows no button");
    refusedUnless(button->press(), "a press on " + cell->className());
}

void scroll(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    auto path = rowIn(step);
    auto table = tableOnScreenOrFail();
    if (!table->isValid(path)) throw ScenarioError("row " + path.description() + " is not in the table");
    table->scrollToRow(path, ui::UITableView::ScrollPosition::None, true);
}

void tapAlert(ScenarioContext& ctx, const core::Dictionary& step) {
    auto alert = UiScreen::alertShown();
    if (!alert) throw ScenarioError("no alert is shown");
    const std::string title = textIn(ctx, step, kAction);
    if (!alert->tapAction(title)) throw ScenarioError("the alert has no action \"" + title + "\" a person can tap");
}

std::optional<core::Value> cellCheck(ScenarioContext& /*ctx*/, const core::Dictionary& step) {
    auto table = UiScreen::tableOnScreen();
    auto cell = table ? table->cellForRow(rowIn(step)) : nullptr;
    if (!cell) return std::nullopt;
    return core::Value(cell);
}

std::optional<core::Value> tableCheck(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    auto table = UiScreen::tableOnScreen();
    if (!table) return std::nullopt;
    return UiScreen::tableSummary(*table);
}

std::optional<core::Value> screenCheck(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    auto screen = UiScreen::screenViewController();
    if (!screen) return std::nullopt;
    return core::Value(screen);
}

std::optional<core::Value> alertCheck(ScenarioContext& /*ctx*/, const core::Dictionary& /*step*/) {
    auto alert = UiScreen::alertShown();
    if (!alert) return std::nullopt;
    return UiScreen::alertSummary(*alert);
}

}  // namespace

void UiScenarioSupport::install() {
    HostRootViewController::classInfo();
    ScenarioExtensions::addStep(kShow, show);
    ScenarioExtensions::addStep(kDump, dump);
    ScenarioExtensions::addUserAction("change", change);
    ScenarioExtensions::addUserAction("type", type);
    ScenarioExtensions::addUserAction("tap", tap);
    ScenarioExtensions::addUserAction("press", press);
    ScenarioExtensions::addUserAction("scroll", scroll);
    ScenarioExtensions::addUserAction("alert", tapAlert);
    ScenarioExtensions::addCheckReceiver("cell", cellCheck);
    ScenarioExtensions::addCheckReceiver("table", tableCheck);
    ScenarioExtensions::addCheckReceiver("screen", screenCheck);
    ScenarioExtensions::addCheckReceiver("alert", alertCheck);
    ScenarioExtensions::addProcessStart("ui", startHostScreen);
}

void UiScenarioSupport::startHostScreen() {
    auto window = std::make_shared<ui::UIWindow>();
    window->setRootViewController(std::make_shared<HostRootViewController>());
    window->makeKeyAndVisible();
}

}  // namespace trc::simulator
