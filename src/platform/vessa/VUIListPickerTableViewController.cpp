#include "platform/vessa/VUIListPickerTableViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUIListPickerFormCell.h"

namespace trc::vessa {

namespace {

constexpr const char* kPlainRow = "UITableViewCell";

std::shared_ptr<ui::UITableViewCell> plainRow(ui::UITableView& tableView, const ui::IndexPath& indexPath,
                                              const std::string* text) {
    auto row = tableView.dequeueReusableCell(kPlainRow, indexPath);
    if (row && text) row->textLabel()->text = *text;
    return row;
}

const std::string* titleAt(const VUIListPickerFormCell* cell, int index) {
    if (!cell || index < 0 || index >= static_cast<int>(cell->valueOptions.size())) return nullptr;
    return &cell->valueOptions[static_cast<std::size_t>(index)];
}

}  // namespace

const core::ClassInfo& VUIListPickerTableViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIListPickerTableViewController>("VUIListPickerTableViewController",
                                                             ui::UITableViewController::classInfo())
            .constructible()
            .property("listPicker",
                      [](const VUIListPickerTableViewController& c) { return core::Value(c.listPicker()); })
            .build();
    return info;
}

void VUIListPickerTableViewController::loadView() { adoptTableView(listPicker_->tableView()); }

int VUIListPickerTableViewController::numberOfSections(ui::UITableView& /*tableView*/) {
    return showsSelectedSection() ? 2 : 1;
}

int VUIListPickerTableViewController::numberOfRowsInSection(ui::UITableView& tableView, int section) {
    if (section != listSection()) return listPicker_->numberOfPickedItems();
    if (auto source = listPicker_->dataSource()) return source->numberOfRowsIn(tableView);
    auto* cell = listPicker_->cell();
    return cell ? static_cast<int>(cell->valueOptions.size()) : 0;
}

std::shared_ptr<ui::UITableViewCell> VUIListPickerTableViewController::cellForRowAt(ui::UITableView& tableView,
                                                                                    const ui::IndexPath& indexPath) {
    if (indexPath.section != listSection()) return selectedItemCell(tableView, indexPath);
    if (auto source = listPicker_->dataSource()) {
        return source->cellForRowAt(tableView, indexPath.row, listPicker_->isFiltered());
    }
    return plainRow(tableView, indexPath, titleAt(listPicker_->cell(), indexPath.row));
}

std::shared_ptr<ui::UITableViewCell> VUIListPickerTableViewController::selectedItemCell(
    ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    const auto* cell = listPicker_->cell();
    auto source = listPicker_->dataSource();
    if (!cell || indexPath.row < 0 || indexPath.row >= listPicker_->numberOfPickedItems()) {
        return plainRow(tableView, indexPath, nullptr);
    }
    const auto at = static_cast<std::size_t>(indexPath.row);
    if (listPicker_->isDataSourceRequiringUniqueIdentifiers) {
        if (!source) return plainRow(tableView, indexPath, nullptr);
        return source->cellForItemWithUniqueIdentifier(tableView, cell->uuidValues[at]);
    }
    const int index = cell->value()[at];
    if (!source) return plainRow(tableView, indexPath, titleAt(cell, index));
    std::string id = source->uniqueIdentifierForItemAt(tableView, index);
    if (!id.empty()) return source->cellForItemWithUniqueIdentifier(tableView, id);
    auto row = source->cellForRowAt(tableView, index, false);
    return row ? row : plainRow(tableView, indexPath, nullptr);
}

void VUIListPickerTableViewController::didSelectRowAt(ui::UITableView& /*tableView*/, const ui::IndexPath& indexPath) {
    if (indexPath.section == listSection()) {
        listPicker_->selectRow(indexPath.row);
    } else {
        listPicker_->deselectPickedItem(indexPath.row);
    }
}

}  // namespace trc::vessa
