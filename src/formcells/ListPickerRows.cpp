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

namespace {

// The rows of a form are often named alike from the start ("Row17",
// "Row18"): told apart by their last letter before the whole name.
bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && (a.empty() || a.back() == b.back()) && a == b;
}

}  // namespace

void ListPickerRows::willBuild(const std::string& name, const std::shared_ptr<vessa::VUIListPickerFormCell>& cell) {
    if (!cell) return;
    // One pass: entries whose cell and picker are both gone are dropped,
    // and the row's own entry and the one of the row the cell showed
    // before (when another: its open picker waits for it) are found.
    // Otherwise that row's entry becomes this row's when this row has
    // none: a cell reused row after row moves no memory.
    std::size_t kept = 0;
    std::size_t ownAt = built_.size();
    std::size_t beforeAt = built_.size();
    for (std::size_t i = 0; i < built_.size(); ++i) {
        const bool cellGone = built_[i].cell.expired();
        if (cellGone && built_[i].picker.expired()) continue;
        if (kept != i) built_[kept] = std::move(built_[i]);
        const Built& b = built_[kept];
        if (ownAt == built_.size() && sameName(b.name, name)) ownAt = kept;
        if (beforeAt == built_.size() && !cellGone && b.shownIn == cell.get()) beforeAt = kept;
        ++kept;
    }
    if (ownAt == built_.size()) ownAt = kept;
    if (beforeAt == built_.size()) beforeAt = kept;
    built_.erase(built_.begin() + static_cast<std::ptrdiff_t>(kept), built_.end());
    auto own = built_.begin() + static_cast<std::ptrdiff_t>(ownAt);
    auto before = built_.begin() + static_cast<std::ptrdiff_t>(beforeAt);
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
