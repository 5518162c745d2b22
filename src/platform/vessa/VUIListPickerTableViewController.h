#pragma once
// The screen of an open list picker: shows the picker's table, with rows
// from the picker's data source or, without one, the cell's own titles.
// Tapping a row selects it on the picker.
//
// With the picker's isSelectedSectionEnabled the table has two sections:
// first the items picked so far, in the order of the selection, then the
// list. Picked items are drawn by the data source's cell for a unique
// identifier (an index selection asks for the identifier of the item at
// that index; an item without one is drawn as its row), the cell's own
// titles as plain rows. Tapping a picked item takes it out of the
// selection, as tapping it in the list does. Without the flag there is only
// the list.
//
// Holds its picker strongly; main thread only.

#include <memory>

#include "platform/ui/UITableViewController.h"
#include "platform/vessa/VUIListPicker.h"

namespace trc::vessa {

class VUIListPickerTableViewController : public ui::UITableViewController {
    TRC_OBJECT(VUIListPickerTableViewController)
public:
    VUIListPickerTableViewController() : VUIListPickerTableViewController(std::make_shared<VUIListPicker>()) {}
    explicit VUIListPickerTableViewController(std::shared_ptr<VUIListPicker> listPicker)
        : listPicker_(std::move(listPicker)) {}

    std::shared_ptr<VUIListPicker> listPicker() const { return listPicker_; }

    // The section of the picked items, when shown, and the list's.
    bool showsSelectedSection() const { return listPicker_->isSelectedSectionEnabled; }
    int listSection() const { return showsSelectedSection() ? 1 : 0; }

    void loadView() override;
    int numberOfSections(ui::UITableView& tableView) override;
    int numberOfRowsInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView,
                                                      const ui::IndexPath& indexPath) override;
    void didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;

private:
    std::shared_ptr<ui::UITableViewCell> selectedItemCell(ui::UITableView& tableView, const ui::IndexPath& indexPath);

    std::shared_ptr<VUIListPicker> listPicker_;
};

}  // namespace trc::vessa
