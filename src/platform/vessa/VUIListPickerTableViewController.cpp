#include "platform/vessa/VUIListPickerTableViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUIListPickerFormCell.h"

namespace trc::vessa {

const core::ClassInfo& VUIListPickerTableViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIListPickerTableViewController>("VUIListPickerTableViewController",
                                                             ui::UITableViewController::classInfo())
            .constructible()
            .property("listPicker", [](const VUIListPickerTableViewController& c) { return core::Value(c.listPicker()); })
            .build();
    return info;
}

void VUIListPickerTableViewController::loadView() { adoptTableView(listPicker_->tableView()); }

int VUIListPickerTableViewController::numberOfRowsInSection(ui::UITableView& tableView, int /*section*/) {
    if (auto source = listPicker_->dataSource()) return source->numberOfRowsIn(tableView);
    auto* cell = listPicker_->cell();
    return cell ? static_cast<int>(cell->valueOptions.size()) : 0;
}

std::shared_ptr<ui::UITableViewCell> VUIListPickerTableViewController::cellForRowAt(ui::UITableView& tableView,
                                                                                   const ui::IndexPath& indexPath) {
    if (auto source = listPicker_->dataSource()) {
        return source->cellForRowAt(tableView, indexPath.row, listPicker_->isFiltered());
    }
    auto row = tableView.dequeueReusableCell("UITableViewCell", indexPath);
    auto* cell = listPicker_->cell();
    if (row && cell && indexPath.row < static_cast<int>(cell->valueOptions.size())) {
        row->textLabel()->text = cell->valueOptions[static_cast<std::size_t>(indexPath.row)];
    }
    return row;
}

void VUIListPickerTableViewController::didSelectRowAt(ui::UITableView& /*tableView*/, const ui::IndexPath& indexPath) {
    listPicker_->selectRow(indexPath.row);
}

}  // namespace trc::vessa
