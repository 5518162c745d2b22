#include "platform/vessa/VUIFormTableViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"

namespace trc::vessa {

const core::ClassInfo& VUIFormTableViewController::classInfo() {
    static const core::ClassInfo& info = core::ClassBuilder<VUIFormTableViewController>(
                                             "VUIFormTableViewController", ui::UITableViewController::classInfo())
                                             .constructible()
                                             .build();
    return info;
}

void VUIFormTableViewController::didSelectRowAt(ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    if (auto picker = std::dynamic_pointer_cast<VUIListPickerFormCell>(tableView.cellForRow(indexPath))) {
        picker->openPicker();
    }
}

}  // namespace trc::vessa
