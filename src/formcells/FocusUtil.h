#pragma once
// Puts the keyboard focus into a form row and keeps it there for a moment:
// scrolls the row into view when needed, makes the cell's text input the
// first responder, then checks on the main queue (after 0.6 s, then every
// 0.3 s, at most five checks) and asks again whenever the focus was lost,
// until it has held for two checks.
//
// Focusable rows: note, text field and title cells while editable. A row
// the table does not have is left alone (never scrolled to). Each call runs
// its own chain of checks; the chain keeps the table alive until it ends.
// All statics; main thread only.

#include <memory>

#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
}  // namespace trc::ui

namespace trc::formcells {

class FocusUtil {
public:
    static constexpr double kFirstCheckDelay = 0.6;
    static constexpr double kCheckInterval = 0.3;
    static constexpr int kRetryCount = 4;
    static constexpr int kSuccessCount = 2;

    // indexPath is a row as the table shows it.
    static void setFocus(const std::shared_ptr<ui::UITableView>& tableView, const ui::IndexPath& indexPath);

private:
    static bool setFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath);
    static bool isFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath);
    static void trySetFirstResponder(const std::shared_ptr<ui::UITableView>& tableView, const ui::IndexPath& indexPath,
                                     int count, bool first, int successCount);
};

}  // namespace trc::formcells
