#include "formcells/ListPickerRows.h"

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
    // The row the cell showed before, when another: its open picker waits
    // for it. Its entry is taken out whole, to be this row's when this row
    // has none: a cell reused row after row moves no memory.
    decltype(cells_)::node_type taken;
    for (auto it = cells_.begin(); it != cells_.end(); ++it) {
        if (it->second.lock() != cell) continue;
        if (it->first != name && cell->openPickerScreen()) waiting_[it->first] = cell->detachListPicker();
        taken = cells_.extract(it);
        break;
    }
    auto own = cells_.find(name);
    if (auto it = waiting_.find(name); it != waiting_.end()) {
        cell->attachListPicker(std::move(it->second));
        waiting_.erase(it);
    } else if (auto before = own != cells_.end() ? own->second.lock() : nullptr;
               before && before != cell && before->openPickerScreen()) {
        cell->attachListPicker(before->detachListPicker());
    }
    if (own != cells_.end()) {
        own->second = cell;
    } else if (taken) {
        taken.key() = name;
        taken.mapped() = cell;
        cells_.insert(std::move(taken));
    } else {
        cells_.emplace(name, cell);
    }
}

}  // namespace trc::formcells
