#include "formcells/OptionTitleLists.h"

#include <algorithm>
#include <iterator>

namespace trc::formcells {

namespace {

constexpr std::uintptr_t kFormBits = 7;
static_assert(alignof(core::Array) > kFormBits, "the form is kept in the low bits of an array's address");
constexpr std::size_t kFirstSlots = 64;
constexpr std::uintptr_t kFree = 0;

static_assert(static_cast<std::uintptr_t>(OptionTitleLists::Form::SomeEmpty) + 1 <= kFormBits);

bool isText(const core::Value& v) { return v.isString(); }
bool isEmptyText(const core::Value& v) { return v.ifString()->empty(); }

}  // namespace

OptionTitleLists::Form OptionTitleLists::formOf(const core::Value& list) {
    const core::Array* items = list.ifArray();
    if (!items || !std::all_of(items->begin(), items->end(), isText)) return Form::NoTexts;
    if (items->empty()) return Form::NoItem;
    return std::any_of(items->begin(), items->end(), isEmptyText) ? Form::SomeEmpty : Form::Texts;
}

core::Value OptionTitleLists::nonEmptyTextsOf(const core::Value& list) {
    core::Array texts;
    const core::Array& items = *list.ifArray();
    std::remove_copy_if(items.begin(), items.end(), std::back_inserter(texts), isEmptyText);
    return texts.empty() ? core::Value() : core::Value(std::move(texts));
}

std::size_t OptionTitleLists::slotOf(std::uintptr_t address) const {
    const std::uint64_t mixed = static_cast<std::uint64_t>(address >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 32) & (slots_.size() - 1);
}

std::size_t OptionTitleLists::slotFor(const core::Value& list, const core::Array* items) {
    const auto address = reinterpret_cast<std::uintptr_t>(items);
    if (!slots_.empty()) {
        for (std::size_t slot = slotOf(address); slots_[slot] != kFree; slot = (slot + 1) & (slots_.size() - 1)) {
            if ((slots_[slot] & ~kFormBits) == address) return slot;
        }
    }
    return add(list, address);
}

std::size_t OptionTitleLists::add(const core::Value& list, std::uintptr_t address) {
    if (count_ == kMostLists) {
        slots_.clear();
        held_.clear();
        count_ = 0;
    }
    if (2 * (count_ + 1) > slots_.size()) grow();
    std::size_t slot = slotOf(address);
    while (slots_[slot] != kFree) slot = (slot + 1) & (slots_.size() - 1);
    slots_[slot] = address | (static_cast<std::uintptr_t>(formOf(list)) + 1);
    held_[slot].list = list;
    ++count_;
    return slot;
}

OptionTitleLists::Form OptionTitleLists::form(const core::Value& list) {
    const core::Array* items = list.ifArray();
    if (!items) return Form::NoTexts;
    return static_cast<Form>((slots_[slotFor(list, items)] & kFormBits) - 1);
}

const core::Value& OptionTitleLists::nonEmptyTexts(const core::Value& list) {
    Held& held = held_[slotFor(list, list.ifArray())];
    if (held.nonEmptyTexts.isNil()) held.nonEmptyTexts = nonEmptyTextsOf(list);
    return held.nonEmptyTexts;
}

void OptionTitleLists::grow() {
    std::vector<std::uintptr_t> slots(std::max(kFirstSlots, 2 * slots_.size()), kFree);
    std::vector<Held> held(slots.size());
    slots.swap(slots_);
    held.swap(held_);
    for (std::size_t from = 0; from < slots.size(); ++from) {
        if (slots[from] == kFree) continue;
        std::size_t to = slotOf(slots[from] & ~kFormBits);
        while (slots_[to] != kFree) to = (to + 1) & (slots_.size() - 1);
        slots_[to] = slots[from];
        held_[to] = std::move(held[from]);
    }
}

}  // namespace trc::formcells
