#pragma once
// The UI framework's form table controller: a table controller whose base
// row selection opens the picker of an editable list picker cell. Form
// controllers derive from it and call this base after their own handling.
// Main thread only.

#include "platform/ui/UITableViewController.h"

namespace trc::vessa {

class VUIFormTableViewController : public ui::UITableViewController {
    TRC_OBJECT(VUIFormTableViewController)
public:
    explicit VUIFormTableViewController(ui::UITableView::Style style = ui::UITableView::Style::Grouped)
        : UITableViewController(style) {}

    void didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;
};

}  // namespace trc::vessa
