#pragma once
// What an owner of form cells remembers of the host lists of texts its rows
// show as options (a segmented row's segments, a filter or sorter row's
// items), by each list's array, so that a row built again does not read
// every item of its list (a long form keeps them out of the cache) nor
// copy its texts.
//
// A remembered list is held: its array is neither freed, so no other list
// is found at its address, nor changed in place (a list shared is copied on
// write), so what is remembered of it holds as long as it is. The owner
// keeps one for each use (FormCellOwner); at most kMostLists lists, all
// forgotten when one more comes. Main thread only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Value.h"

namespace trc::formcells {

class OptionTitleLists {
public:
    static constexpr std::size_t kMostLists = 8192;

    enum class Form : std::uint8_t {
        NoTexts,    // no list, or an item is no text
        NoItem,     // a list of no item
        Texts,      // texts, none empty
        SomeEmpty,  // texts, some empty
    };
    // Read from the list.
    static Form formOf(const core::Value& list);
    // The same, remembered.
    Form form(const core::Value& list);

    // The texts of a SomeEmpty list but the empty ones, in a new list; nil
    // when none remains.
    static core::Value nonEmptyTextsOf(const core::Value& list);
    // The same, made once for a remembered list.
    const core::Value& nonEmptyTexts(const core::Value& list);

    std::size_t size() const { return count_; }

private:
    struct Held {
        core::Value list;
        // The texts but the empty ones, of a SomeEmpty list once asked for.
        core::Value nonEmptyTexts;
    };
    // The slot that remembers list, whose array is items; added when there
    // is none (add, kept apart so that the look-up stays short).
    std::size_t slotFor(const core::Value& list, const core::Array* items);
    [[gnu::noinline]] std::size_t add(const core::Value& list, std::uintptr_t address);
    std::size_t slotOf(std::uintptr_t address) const;
    void grow();

    // Open addressing, probing the next slots; a power of two, at most half
    // full. A slot holds the address of a list's array with its form + 1 in
    // the low bits; 0 when free.
    std::vector<std::uintptr_t> slots_;
    std::vector<Held> held_;
    std::size_t count_ = 0;
};

}  // namespace trc::formcells
