#include "simulator/UiScreen.h"

#include <algorithm>

#include "platform/core/Dictionary.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "simulator/UiScenarioSupport.h"

namespace trc::simulator {

namespace {

using namespace trc::vessa;

std::string quoted(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "-"; }

// Options as a segmented control's or a filter's: anything with size() and texts by index.
template <class Options>
std::string choices(const Options& options, const std::vector<int>& selected) {
    std::string out;
    for (std::size_t i = 0; i < options.size(); ++i) {
        bool on = std::find(selected.begin(), selected.end(), static_cast<int>(i)) != selected.end();
        out += (i ? " " : "") + (on ? "[" + options[i] + "]" : options[i]);
    }
    return out;
}

std::shared_ptr<ui::UITableView> findTable(const std::shared_ptr<ui::UIView>& view) {
    if (!view) return nullptr;
    if (auto table = std::dynamic_pointer_cast<ui::UITableView>(view)) return table;
    for (const auto& sub : view->subviews()) {
        if (auto table = findTable(sub)) return table;
    }
    return nullptr;
}

// The last of what is presented from the root, alerts included.
std::shared_ptr<ui::UIViewController> topPresented(std::shared_ptr<ui::UIViewController> c) {
    while (c) {
        auto next = c->presentedViewController();
        if (!next) return c;
        c = next;
    }
    return c;
}

}  // namespace

std::shared_ptr<ui::UIWindow> UiScreen::keyWindow() {
    auto app = ui::UIApplication::shared();
    if (!app->keyWindow()) UiScenarioSupport::startHostScreen();
    return app->keyWindow();
}

std::shared_ptr<ui::UIViewController> UiScreen::screenViewController() {
    auto c = keyWindow()->rootViewController();
    while (c) {
        auto presented = c->presentedViewController();
        if (presented && !std::dynamic_pointer_cast<ui::UIAlertController>(presented)) {
            c = presented;
            continue;
        }
        auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(c);
        if (nav && nav->topViewController()) {
            c = nav->topViewController();
            continue;
        }
        break;
    }
    return c;
}

std::shared_ptr<ui::UIAlertController> UiScreen::alertShown() {
    return std::dynamic_pointer_cast<ui::UIAlertController>(topPresented(keyWindow()->rootViewController()));
}

std::shared_ptr<ui::UITableView> UiScreen::tableOnScreen() {
    auto screen = screenViewController();
    return screen && screen->isViewLoaded() ? findTable(screen->view()) : nullptr;
}

core::Value UiScreen::alertSummary(const ui::UIAlertController& alert) {
    core::Dictionary d;
    d.set("title", alert.title ? core::Value(*alert.title) : core::Value());
    d.set("message", alert.message ? core::Value(*alert.message) : core::Value());
    core::Array actions;
    for (const auto& t : alert.actionTitles()) actions.emplace_back(t);
    d.set("actions", core::Value(std::move(actions)));
    return core::Value(std::move(d));
}

core::Value UiScreen::tableSummary(ui::UITableView& table) {
    core::Dictionary d;
    core::Array counts;
    for (int n : table.rowCounts()) counts.emplace_back(n);
    d.set("rowCounts", core::Value(std::move(counts)));
    d.set("numberOfSections", table.numberOfSections());
    core::Array rows;
    for (const auto& p : table.indexPathsForVisibleRows()) rows.emplace_back(core::Array{p.section, p.row});
    d.set("visibleRows", core::Value(std::move(rows)));
    return core::Value(std::move(d));
}

std::string UiScreen::describeCell(const ui::UITableViewCell& cell) {
    std::string text = cell.className();
    auto add = [&text](const std::string& part) { text += " | " + part; };
    if (auto c = dynamic_cast<const VUITextFieldFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(quoted(c->value()));
    } else if (auto c = dynamic_cast<const VUITitleFormCell*>(&cell)) {
        add(quoted(c->value()));
    } else if (auto c = dynamic_cast<const VUINoteFormCell*>(&cell)) {
        add(quoted(c->value()));
    } else if (auto c = dynamic_cast<const VUISwitchFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(c->value() ? "on" : "off");
    } else if (auto c = dynamic_cast<const VUISegmentedControlFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(choices(c->valueOptions(), {c->value()}));
    } else if (auto c = dynamic_cast<const VUIDatePickerFormCell*>(&cell)) {
        add(quoted(c->keyLabel()->text));
        add(quoted(c->valueLabel()->text));
    } else if (auto c = dynamic_cast<const VUIDurationPickerFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(quoted(c->valueLabel()->text));
    } else if (auto c = dynamic_cast<const VUIListPickerFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(quoted(c->valueLabel()->text));
    } else if (auto c = dynamic_cast<const VUIFilterFormCell*>(&cell)) {
        add(quoted(c->keyName()));
        add(choices(c->valueOptions, c->value));
    } else if (auto c = dynamic_cast<const VUIButtonFormCell*>(&cell)) {
        add(quoted(c->button()->currentTitle()));
    } else if (cell.textLabel()->text) {
        add(quoted(cell.textLabel()->text));
    }
    auto validation = [&](const std::shared_ptr<VUIInlineValidationView>& v) {
        if (v && !v->isHidden() && v->titleLabel()->text) add("! " + *v->titleLabel()->text);
    };
    if (auto c = dynamic_cast<const VUIInlineValidationTableViewCell*>(&cell)) validation(c->validationView());
    if (auto c = dynamic_cast<const VUIInlineValidationDrawingTableViewCell*>(&cell)) validation(c->validationView());
    if (cell.isHidden()) add("hidden");
    return text;
}

std::vector<std::string> UiScreen::describeScreen() {
    std::vector<std::string> lines;
    auto screen = screenViewController();
    if (!screen) return lines;
    lines.push_back("screen " + screen->className() + (screen->title ? " \"" + *screen->title + "\"" : ""));
    if (auto alert = alertShown()) {
        std::string line = "alert " + quoted(alert->title) + " " + quoted(alert->message);
        for (const auto& t : alert->actionTitles()) line += " [" + t + "]";
        lines.push_back(line);
    }
    if (auto table = tableOnScreen()) {
        for (const auto& p : table->indexPathsForVisibleRows()) {
            if (p.row == 0) {
                if (auto title = table->titleForHeader(p.section)) {
                    lines.push_back("section " + std::to_string(p.section) + " \"" + *title + "\"");
                }
            }
            lines.push_back(p.description() + " " + describeCell(*table->cellForRow(p)));
        }
    }
    return lines;
}

}  // namespace trc::simulator
