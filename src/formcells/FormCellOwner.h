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

#include "formcells/ListPickerRows.h"
#include "formcells/OptionTitleLists.h"
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

    // Where the row that such work began on is shown now: found by its
    // "_Name" when it has one (none once it is hidden or gone), else the row
    // as it was shown when the work began.
    std::optional<ui::IndexPath> shownRow(const std::optional<std::string>& name,
                                          const ui::IndexPath& shownThen) const {
        return name ? indexPathOfShownCell(*name) : std::optional<ui::IndexPath>(shownThen);
    }

    // The table that shows the owner's cells; none when it is not shown.
    virtual std::shared_ptr<ui::UITableView> cellTableView() { return nullptr; }

    // What the owner keeps of its list picker rows across rebuilds.
    ListPickerRows& listPickerRows() { return listPickerRows_; }
    // What the owner remembers of its segmented rows' lists, and of its
    // filter and sorter rows'.
    OptionTitleLists& segmentTitleLists() { return segmentTitleLists_; }
    OptionTitleLists& filterItemLists() { return filterItemLists_; }

    // The table an extension cell handler registered itself on, kept so that
    // the owner can hand it back to the host's handler later.
    std::shared_ptr<ui::UITableView> tableViewForExtension() const { return tableViewForExtension_.lock(); }
    void setTableViewForExtension(const std::shared_ptr<ui::UITableView>& tableView) {
        tableViewForExtension_ = tableView;
    }

    // The last cell an extension cell handler configured.
    std::shared_ptr<ui::UITableViewCell> tableViewCellForExtension() const { return tableViewCellForExtension_.lock(); }
    void setTableViewCellForExtension(const std::shared_ptr<ui::UITableViewCell>& cell) {
        tableViewCellForExtension_ = cell;
    }

private:
    ListPickerRows listPickerRows_;
    OptionTitleLists segmentTitleLists_;
    OptionTitleLists filterItemLists_;
    // Weak: the owner's own table (or the page's) already owns both.
    std::weak_ptr<ui::UITableView> tableViewForExtension_;
    std::weak_ptr<ui::UITableViewCell> tableViewCellForExtension_;
};

}  // namespace trc::formcells
