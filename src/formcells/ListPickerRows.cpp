#include "formcells/ListPickerRows.h"

#include <algorithm>
#include <cstring>

#include "platform/core/TextAssignment.h"
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

// Equal names give equal digests. The rows of a form are often named alike
// at the start ("Row17", "Row18") or at the end ("17Code", "18Code"): both
// ends and the length go in.
std::uint64_t nameKey(std::string_view name) {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, name.data(), std::min(name.size(), sizeof head));
    if (name.size() > sizeof tail) std::memcpy(&tail, name.data() + name.size() - sizeof tail, sizeof tail);
    return (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ name.size();
}

// Whether weak was made from object itself; read from the pointers alone.
template <class T>
bool refersTo(const std::weak_ptr<T>& weak, const std::shared_ptr<T>& object) {
    return !weak.owner_before(object) && !object.owner_before(weak);
}

}  // namespace

void ListPickerRows::erase(std::size_t at) {
    built_.erase(built_.begin() + static_cast<std::ptrdiff_t>(at));
    probes_.erase(probes_.begin() + static_cast<std::ptrdiff_t>(at));
}

void ListPickerRows::willBuild(const std::string& name, const std::shared_ptr<vessa::VUIListPickerFormCell>& cell) {
    if (!cell) return;
    // The row's own entry and the one of the row the cell showed before
    // (when another: its open picker waits for it). Otherwise that row's
    // entry becomes this row's when this row has none: a cell reused row
    // after row moves no memory.
    const std::uint64_t key = nameKey(name);
    const std::size_t none = probes_.size();
    std::size_t own = none;
    std::size_t before = none;
    for (std::size_t i = 0; i < probes_.size(); ++i) {
        const Probe& p = probes_[i];
        if (own == none && p.nameKey == key && built_[i].name == name) own = i;
        if (before == none && p.shownIn == cell.get() && refersTo(built_[i].cell, cell)) before = i;
    }
    if (before != none && before != own && cell->openPickerScreen()) {
        built_[before].picker = cell->detachListPicker();
        built_[before].cell.reset();
        probes_[before].shownIn = nullptr;
        before = none;
    }
    if (own != none) {
        Built& b = built_[own];
        if (auto waiting = b.picker.lock(); waiting && waiting != cell->listPicker() && waiting->openScreen()) {
            cell->attachListPicker(std::move(waiting));
        }
        probes_[own].shownIn = cell.get();
        b.cell = cell;
        b.picker = cell->listPicker();
        if (before != none && before != own) erase(before);
    } else if (before != none) {
        Built& b = built_[before];
        core::assignText(b.name, name);
        probes_[before].nameKey = key;
        if (!refersTo(b.picker, cell->listPicker())) b.picker = cell->listPicker();
    } else {
        for (std::size_t i = built_.size(); i-- > 0;) {
            if (built_[i].cell.expired() && built_[i].picker.expired()) erase(i);
        }
        built_.push_back({name, cell, cell->listPicker()});
        probes_.push_back({key, cell.get()});
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
