#pragma once
// Reads what a person sees, for the host simulator: the key window, the
// view controller on screen (the top of what is presented, alerts aside;
// inside a navigation controller its top), the alert shown, the table on
// screen and its rows described in words. Reads only; main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::ui {
class UIAlertController;
class UITableView;
class UITableViewCell;
class UIViewController;
class UIWindow;
}  // namespace trc::ui

namespace trc::simulator {

class UiScreen {
public:
    // The key window, put up with the host's empty root when there is none.
    static std::shared_ptr<ui::UIWindow> keyWindow();
    static std::shared_ptr<ui::UIViewController> screenViewController();
    static std::shared_ptr<ui::UIAlertController> alertShown();
    // The first table in the screen's view tree (the view itself first).
    static std::shared_ptr<ui::UITableView> tableOnScreen();

    // {"title", "message", "actions"} of an alert.
    static core::Value alertSummary(const ui::UIAlertController& alert);
    // {"rowCounts", "numberOfSections", "visibleRows"} of a table.
    static core::Value tableSummary(ui::UITableView& table);
    // One line for people: kind, caption, value and message of a cell.
    static std::string describeCell(const ui::UITableViewCell& cell);
    // Lines for people describing the whole screen.
    static std::vector<std::string> describeScreen();
};

}  // namespace trc::simulator
