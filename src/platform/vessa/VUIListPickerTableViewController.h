#pragma once
// The screen of an open list picker: shows the picker's table, with rows
// from the picker's data source or, without one, the cell's own titles.
// Tapping a row selects it on the picker. Holds its picker strongly; main
// thread only.

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

    void loadView() override;
    int numberOfRowsInSection(ui::UITableView& tableView, int section) override;
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) override;

private:
    std::shared_ptr<VUIListPicker> listPicker_;
};

}  // namespace trc::vessa
