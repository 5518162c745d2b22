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
    std::erase_if(built_,
                  [](const auto& entry) { return entry.second.cell.expired() && entry.second.picker.expired(); });
    // The row the cell showed before, when another: its open picker waits
    // for it. Otherwise that row's entry is taken out whole, to be this
    // row's when this row has none: a cell reused row after row moves no
    // memory.
    decltype(built_)::node_type taken;
    for (auto it = built_.begin(); it != built_.end(); ++it) {
        if (it->second.cell.lock() != cell) continue;
        if (it->first == name) break;
        if (cell->openPickerScreen()) {
            it->second.picker = cell->detachListPicker();
            it->second.cell.reset();
        } else {
            taken = built_.extract(it);
        }
        break;
    }
    auto own = built_.find(name);
    if (own != built_.end()) {
        if (auto picker = own->second.picker.lock(); picker && picker != cell->listPicker() && picker->openScreen()) {
            cell->attachListPicker(std::move(picker));
        }
        own->second = {cell, cell->listPicker()};
    } else if (taken) {
        taken.key() = name;
        taken.mapped() = {cell, cell->listPicker()};
        built_.insert(std::move(taken));
    } else {
        built_.emplace(name, Built{cell, cell->listPicker()});
    }
}

}  // namespace trc::formcells
