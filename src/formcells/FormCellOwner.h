#pragma once
// What the form cell factory needs of whoever shows form cells: the
// full-screen form and the form cell section both implement it. A change
// handler keeps its owner weakly and calls updateParamsWithValue before the
// host is told, so the row's parameters always hold what the person chose.
//
// Owners also act as the text-field delegate of their number fields, hence
// the base. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/UITextFieldDelegate.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::formcells {

class FormCellOwner : public ui::UITextFieldDelegate {
public:
    ~FormCellOwner() override = default;

    // Stores the change's "Value" in the parameters of the cell shown at
    // indexPath (a row as the table shows it; hidden cells are skipped).
    virtual void updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) = 0;

    // Where the cell of that "_Name" is shown now; none when it is hidden or
    // not there (always none for an owner that does not name its cells).
    // Work that outlives a table change (a signature pad left open) finds
    // its row again by it.
    virtual std::optional<ui::IndexPath> indexPathOfShownCell(const std::string& /*name*/) const {
        return std::nullopt;
    }

    // The table an extension cell handler registered itself on, kept so that
    // the owner can hand it back to the host's handler later.
    std::shared_ptr<ui::UITableView> tableViewForExtension() const { return tableViewForExtension_.lock(); }
    void setTableViewForExtension(const std::shared_ptr<ui::UITableView>& tableView) { tableViewForExtension_ = tableView; }

    // The last cell an extension cell handler configured.
    std::shared_ptr<ui::UITableViewCell> tableViewCellForExtension() const { return tableViewCellForExtension_.lock(); }
    void setTableViewCellForExtension(const std::shared_ptr<ui::UITableViewCell>& cell) { tableViewCellForExtension_ = cell; }

private:
    // Weak: the owner's own table (or the page's) already owns both.
    std::weak_ptr<ui::UITableView> tableViewForExtension_;
    std::weak_ptr<ui::UITableViewCell> tableViewCellForExtension_;
};

}  // namespace trc::formcells
