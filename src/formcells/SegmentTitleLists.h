#pragma once
// The titles an owner of form cells shows for its segmented rows' lists of
// segments, remembered by each list's array, so that a row built again
// does not read every item of its list (a long form keeps them out of the
// cache) nor copy its texts.
//
// A remembered list is held: its array is neither freed, so no other list
// is found at its address, nor changed in place (a list shared is copied on
// write), so what is remembered of it holds as long as it is. One per owner
// (FormCellOwner); at most kMostLists lists, all forgotten when one more
// comes. Main thread only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Value.h"

namespace trc::formcells {

class SegmentTitleLists {
public:
    static constexpr std::size_t kMostLists = 8192;

    // The titles of a list of segments: the list itself when its items are
    // all texts and none is empty (or it has none); a new list of its texts
    // but the empty ones when some are empty; nil when it is no list or an
    // item is no text.
    static core::Value titlesOf(const core::Value& segments);
    // The same, remembered; a reference to segments itself in the first case.
    const core::Value& titles(const core::Value& segments);

    std::size_t size() const { return count_; }

private:
    // What a list gives, in the low bits of its array's address.
    enum Form : std::uintptr_t { Free = 0, NoTitles = 1, Itself = 2, Filtered = 3 };
    struct Held {
        core::Value list;
        // The texts but the empty ones, for a Filtered list.
        core::Value titles;
    };
    std::size_t slotOf(std::uintptr_t address) const;
    // What the list remembered in slot gives, segments being that list.
    const core::Value& answer(std::size_t slot, const core::Value& segments) const;
    void grow();

    // Open addressing, probing the next slots; a power of two, at most half full.
    std::vector<std::uintptr_t> slots_;
    std::vector<Held> held_;
    std::size_t count_ = 0;
};

}  // namespace trc::formcells
