#include "formcells/ListPickerRows.h"

#include <algorithm>

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
    std::erase_if(built_, [](const Built& b) { return b.cell.expired() && b.picker.expired(); });
    auto own = std::find_if(built_.begin(), built_.end(), [&](const Built& b) { return b.name == name; });
    // The row the cell showed before, when another: its open picker waits
    // for it. Otherwise that row's entry becomes this row's when this row
    // has none: a cell reused row after row moves no memory.
    auto before = std::find_if(built_.begin(), built_.end(),
                               [&](const Built& b) { return b.shownIn == cell.get() && !b.cell.expired(); });
    if (before != built_.end() && before != own && cell->openPickerScreen()) {
        before->picker = cell->detachListPicker();
        before->cell.reset();
        before->shownIn = nullptr;
        before = built_.end();
    }
    auto picker = cell->listPicker();
    if (own != built_.end()) {
        if (auto waiting = own->picker.lock(); waiting && waiting != picker && waiting->openScreen()) {
            cell->attachListPicker(std::move(waiting));
            picker = cell->listPicker();
        }
        own->shownIn = cell.get();
        own->cell = cell;
        own->picker = picker;
        if (before != built_.end() && before != own) built_.erase(before);
    } else if (before != built_.end()) {
        before->name = name;
        before->picker = picker;
    } else {
        built_.push_back({name, cell.get(), cell, picker});
    }
}

}  // namespace trc::formcells
