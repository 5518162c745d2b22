#include "formcells/internal/ListPickerRows.h"

#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"

namespace trc::formcells {

const ListPickerRows::Items& ListPickerRows::pickedItems(std::string_view name) const {
    static const Items none;
    auto it = pickedItems_.find(name);
    return it == pickedItems_.end() ? none : it->second;
}

void ListPickerRows::setPickedItems(const std::string& name, Items items) { pickedItems_[name] = std::move(items); }

void ListPickerRows::willBuild(const std::string& name, const std::shared_ptr<vessa::VUIListPickerFormCell>& cell) {
    if (!cell) return;
    std::erase_if(cells_, [](const auto& entry) { return entry.second.expired(); });
    // The row the cell showed before, when another: its open picker waits for it.
    for (auto it = cells_.begin(); it != cells_.end(); ++it) {
        if (it->second.lock() != cell) continue;
        if (it->first != name && cell->openPickerScreen()) waiting_[it->first] = cell->detachListPicker();
        cells_.erase(it);
        break;
    }
    if (auto it = waiting_.find(name); it != waiting_.end()) {
        cell->attachListPicker(std::move(it->second));
        waiting_.erase(it);
    } else if (auto before = cells_.count(name) ? cells_[name].lock() : nullptr;
               before && before != cell && before->openPickerScreen()) {
        cell->attachListPicker(before->detachListPicker());
    }
    cells_[name] = cell;
}

}  // namespace trc::formcells
