#include "formcells/SegmentTitleLists.h"

#include <algorithm>

namespace trc::formcells {

namespace {

constexpr std::uintptr_t kFormBits = 3;
static_assert(alignof(core::Array) > kFormBits, "the form is kept in the low bits of an array's address");
constexpr std::size_t kFirstSlots = 64;

const core::Value& nothing() {
    static const core::Value nil;
    return nil;
}

}  // namespace

core::Value SegmentTitleLists::titlesOf(const core::Value& segments) {
    const core::Array* list = segments.ifArray();
    if (!list || !std::all_of(list->begin(), list->end(), [](const core::Value& v) { return v.isString(); })) {
        return core::Value();
    }
    if (std::none_of(list->begin(), list->end(), [](const core::Value& v) { return v.ifString()->empty(); })) {
        return segments;
    }
    core::Array titles;
    std::copy_if(list->begin(), list->end(), std::back_inserter(titles),
                 [](const core::Value& v) { return !v.ifString()->empty(); });
    return core::Value(std::move(titles));
}

std::size_t SegmentTitleLists::slotOf(std::uintptr_t address) const {
    const std::uint64_t mixed = static_cast<std::uint64_t>(address >> 4) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed >> 32) & (slots_.size() - 1);
}

const core::Value& SegmentTitleLists::titles(const core::Value& segments) {
    const core::Array* list = segments.ifArray();
    if (!list) return nothing();
    const auto address = reinterpret_cast<std::uintptr_t>(list);
    std::size_t slot = 0;
    if (!slots_.empty()) {
        for (slot = slotOf(address); slots_[slot] != Free; slot = (slot + 1) & (slots_.size() - 1)) {
            if ((slots_[slot] & ~kFormBits) == address) return answer(slot, segments);
        }
    }
    if (count_ == kMostLists) {
        slots_.clear();
        held_.clear();
        count_ = 0;
    }
    if (2 * (count_ + 1) > slots_.size()) {
        grow();
        for (slot = slotOf(address); slots_[slot] != Free;) slot = (slot + 1) & (slots_.size() - 1);
    }
    core::Value titles = titlesOf(segments);
    std::uintptr_t form = Filtered;
    if (titles.isNil()) form = NoTitles;
    if (titles.ifArray() == list) form = Itself;
    slots_[slot] = address | form;
    held_[slot] = {segments, form == Filtered ? std::move(titles) : core::Value()};
    ++count_;
    return answer(slot, segments);
}

const core::Value& SegmentTitleLists::answer(std::size_t slot, const core::Value& segments) const {
    switch (slots_[slot] & kFormBits) {
    case Itself: return segments;
    case Filtered: return held_[slot].titles;
    default: return nothing();
    }
}

void SegmentTitleLists::grow() {
    std::vector<std::uintptr_t> slots(std::max(kFirstSlots, 2 * slots_.size()), Free);
    std::vector<Held> held(slots.size());
    slots.swap(slots_);
    held.swap(held_);
    for (std::size_t from = 0; from < slots.size(); ++from) {
        if (slots[from] == Free) continue;
        std::size_t to = slotOf(slots[from] & ~kFormBits);
        while (slots_[to] != Free) to = (to + 1) & (slots_.size() - 1);
        slots_[to] = slots[from];
        held_[to] = std::move(held[from]);
    }
}

}  // namespace trc::formcells
