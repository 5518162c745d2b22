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

namespace {

using ItemsForm = ListPickerRows::ItemsForm;

constexpr std::size_t kFirstSets = 4;
// 8,192 lists, enough for the rows of a long form; beyond, lists are
// forgotten and read again when built.
constexpr std::size_t kMostSets = 1024;
constexpr std::uintptr_t kFormBits = 3;
static_assert(alignof(core::Array) > kFormBits, "the form is kept in the low bits of an array's address");
static_assert(static_cast<std::uintptr_t>(ItemsForm::Mixed) <= kFormBits);

// The set of the address; sets is a power of two, and a set of a table
// twice as large takes lists of one set of this one only.
std::size_t setOf(std::uintptr_t address, std::size_t sets) {
    const std::uint64_t mixed = static_cast<std::uint64_t>(address >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 40) % sets;
}

}  // namespace

ItemsForm ListPickerRows::formOf(const core::Value* items) {
    const core::Array* list = items ? items->ifArray() : nullptr;
    if (!list) return ItemsForm::NoList;
    if (std::all_of(list->begin(), list->end(), [](const core::Value& v) { return v.isDictionary(); })) {
        return ItemsForm::Dictionaries;
    }
    if (std::all_of(list->begin(), list->end(), [](const core::Value& v) { return v.isString(); })) {
        return ItemsForm::Texts;
    }
    return ItemsForm::Mixed;
}

ItemsForm ListPickerRows::itemsForm(const core::Value* items) {
    const core::Array* list = items ? items->ifArray() : nullptr;
    if (!list) return ItemsForm::NoList;
    const auto address = reinterpret_cast<std::uintptr_t>(list);
    if (!knownSets_.empty()) {
        for (const std::uintptr_t known : knownSets_[setOf(address, knownSets_.size())].ways) {
            if ((known & ~kFormBits) == address) return static_cast<ItemsForm>(known & kFormBits);
        }
    }
    const ItemsForm form = formOf(items);
    remember(*items, address, form);
    return form;
}

void ListPickerRows::remember(const core::Value& items, std::uintptr_t address, ItemsForm form) {
    if (knownSets_.empty()) {
        knownSets_.resize(kFirstSets);
        knownLists_.resize(kFirstSets * kWays);
    }
    auto freeWay = [&](std::size_t set) {
        const std::uintptr_t* ways = knownSets_[set].ways;
        return static_cast<std::size_t>(std::find(ways, ways + kWays, std::uintptr_t{0}) - ways);
    };
    std::size_t set = setOf(address, knownSets_.size());
    std::size_t way = freeWay(set);
    // A full set: a larger table while it may grow (which spreads the set
    // over two), else a list of the set is forgotten.
    while (way == kWays && knownSets_.size() < kMostSets) {
        growForms();
        set = setOf(address, knownSets_.size());
        way = freeWay(set);
    }
    if (way == kWays) way = nextVictim_++ % kWays;
    knownSets_[set].ways[way] = address | static_cast<std::uintptr_t>(form);
    knownLists_[set * kWays + way] = items;
}

void ListPickerRows::growForms() {
    const std::size_t sets = knownSets_.size() * 2;
    std::vector<KnownSet> grown(sets);
    std::vector<core::Value> lists(sets * kWays);
    for (std::size_t set = 0; set < knownSets_.size(); ++set) {
        for (std::size_t way = 0; way < kWays; ++way) {
            const std::uintptr_t known = knownSets_[set].ways[way];
            if (known == 0) continue;
            // The lists of one set fill at most the kWays ways of a set here.
            const std::size_t to = setOf(known & ~kFormBits, sets);
            std::uintptr_t* ways = grown[to].ways;
            const auto at = static_cast<std::size_t>(std::find(ways, ways + kWays, std::uintptr_t{0}) - ways);
            ways[at] = known;
            lists[to * kWays + at] = std::move(knownLists_[set * kWays + way]);
        }
    }
    knownSets_ = std::move(grown);
    knownLists_ = std::move(lists);
}

}  // namespace trc::formcells
