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

void VUIListPickerTableViewController::loadView() {
    auto table = listPicker_->tableView();
    auto self = std::static_pointer_cast<VUIListPickerTableViewController>(shared_from_this());
    table->setDataSource(std::shared_ptr<ui::UITableViewDataSource>(self, static_cast<ui::UITableViewDataSource*>(this)));
    table->setDelegate(std::shared_ptr<ui::UITableViewDelegate>(self, static_cast<ui::UITableViewDelegate*>(this)));
    setView(table);
}

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
