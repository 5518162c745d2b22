#pragma once
// What an owner of form cells keeps of its list picker rows across
// rebuilds, by each row's "_Name", so that a person's pick always reaches
// its own row, shown right:
// - the items a person last picked on a row chosen by unique identifiers,
//   as the picker knew them ("UniqueId" and "DisplayValue"), so a rebuilt
//   row still names an item the host's list no longer holds (one picked
//   among search results);
// - which cell a row was last built into and which picker it gave the row,
//   so that a row rebuilt into another cell (the host showed or hid rows,
//   cells were reused, or the table let the row's cell go altogether) takes
//   along the picker a person has open. A picker open in a cell that is
//   rebuilt for another row waits until its own row is built again; a row
//   that is not built again (hidden meanwhile) keeps it waiting, and the
//   picker takes no selection;
// - the form of each list of items it was asked about (dictionaries, texts
//   or neither), so a row built again does not read every item of its
//   list, which a long form keeps out of the cache.
//
// One per owner (FormCellOwner). Cells and pickers are held weakly: the
// table owns the cells, each cell its picker, and the screen of an open
// picker keeps it while it waits. Main thread only.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Value.h"

namespace trc::vessa {
class VUIListPicker;
class VUIListPickerFormCell;
}  // namespace trc::vessa

namespace trc::formcells {

class ListPickerRows {
public:
    using Items = std::vector<core::Dictionary>;

    // The row's remembered picks; empty when it has none.
    const Items& pickedItems(std::string_view name) const;
    void setPickedItems(const std::string& name, Items items);

    // The row is about to be built into cell: an open picker the cell holds
    // for another row is put aside for that row, and the row's own open
    // picker (put aside, still in the cell the row was built into before,
    // or left by a cell that is gone) moves into cell.
    void willBuild(const std::string& name, const std::shared_ptr<vessa::VUIListPickerFormCell>& cell);

    // What a row's "PickerItems" holds, as the build road tells it.
    enum class ItemsForm : std::uint8_t {
        NoList,        // absent, or no list
        Dictionaries,  // every item a dictionary, so also no item
        Texts,         // one item or more, every one a text
        Mixed,         // anything else
    };
    // Read from the items.
    static ItemsForm formOf(const core::Value* items);
    // The same, remembered for the lists last asked about (a few thousand).
    // A remembered list is kept: its array is neither freed, so no other
    // list is found at its address, nor changed in place (a list shared is
    // copied on write), so its form holds as long as it is remembered.
    ItemsForm itemsForm(const core::Value* items);

private:
    // A row's last build; one to a row and to a cell.
    struct Built {
        std::string name;
        std::weak_ptr<vessa::VUIListPickerFormCell> cell;
        std::weak_ptr<vessa::VUIListPicker> picker;
    };
    // What a build compares of each Built, at the same index, kept apart so
    // that the search reads these few lines only: a digest of the name
    // (equal for equal names) and the cell's address, which counts only
    // while cell is the very cell asked about (the same owners).
    struct Probe {
        std::uint64_t nameKey = 0;
        const vessa::VUIListPickerFormCell* shownIn = nullptr;
    };
    void erase(std::size_t at);

    std::map<std::string, Items, std::less<>> pickedItems_;
    // As many as the owner has list picker cells, and rows whose open
    // picker waits: a few, searched in place rather than kept sorted.
    // Entries whose cell and picker are both gone are dropped when another
    // is added.
    std::vector<Built> built_;
    std::vector<Probe> probes_;

    // The remembered lists, in sets chosen by the address of the list's
    // array: per way that address with the form in its low bits (0 when
    // free). A set fills one cache line, so a look-up reads one.
    static constexpr std::size_t kWays = 8;
    struct alignas(64) KnownSet {
        std::uintptr_t ways[kWays] = {};
    };
    void remember(const core::Value& items, std::uintptr_t address, ItemsForm form);
    void growForms();
    std::vector<KnownSet> knownSets_;
    // The list of each way (kWays a set).
    std::vector<core::Value> knownLists_;
    std::size_t nextVictim_ = 0;
};

}  // namespace trc::formcells
