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
//
// The host may show or hide rows while the checks run, which moves the
// focused row on the table. Given the row's owner and "_Name", every check
// finds the row again by its name, so the focus never lands in a
// neighbouring row; a row hidden meanwhile counts as a lost focus that
// cannot be asked for (the chain goes on, should it be shown again). A row
// without a name is checked where it was shown when the focus was asked
// for. All statics; main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
}  // namespace trc::ui

namespace trc::formcells {

class FormCellOwner;

class FocusUtil {
public:
    static constexpr double kFirstCheckDelay = 0.6;
    static constexpr double kCheckInterval = 0.3;
    static constexpr int kRetryCount = 4;
    static constexpr int kSuccessCount = 2;

    // indexPath is a row as the table shows it; owner (held weakly by the
    // checks) and name find it again later.
    static void setFocus(const std::shared_ptr<ui::UITableView>& tableView, const ui::IndexPath& indexPath,
                         const std::shared_ptr<FormCellOwner>& owner = nullptr,
                         const std::optional<std::string>& name = std::nullopt);

private:
    // The focused row as the checks find it.
    struct Target {
        std::shared_ptr<ui::UITableView> tableView;
        ui::IndexPath shownThen;
        std::weak_ptr<FormCellOwner> owner;
        std::optional<std::string> name;
        // Where the row is shown now; none once it is hidden or its owner gone.
        std::optional<ui::IndexPath> indexPath() const;
    };

    static bool setFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath);
    static bool isFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath);
    static void trySetFirstResponder(std::shared_ptr<const Target> target, int count, bool first, int successCount);
};

}  // namespace trc::formcells
