#pragma once
// The cells of one table section of a form, as the host added them: every
// cell's parameter dictionary in host order, hidden cells included, and the
// maps between the host's row numbers (position in this list, "actual rows")
// and the table's row numbers (position among the visible cells, "visible
// rows"). Both owners of form cells (the full-screen form and the form cell
// section) keep their cells in this one structure.
//
// The visible rows are indexed, so every question is O(1) or O(log n)
// instead of a walk over the list; the index is rebuilt lazily after a change
// that can alter a cell's visibility. Out-of-range and hidden rows answer -1,
// so a caller never acts on another row than the one it named. Each cell's
// kind is read from its "_Type" when the cell is stored, so a table asking
// rows for their heights never parses a type again.
//
// Main thread only.

#include <cstdint>
#include <vector>

#include "formcells/FormCellType.h"
#include "platform/core/Value.h"

namespace trc::formcells {

class FormCellRowList {
public:
    // Decides whether a cell's parameters make it visible.
    using Visibility = bool (*)(const core::Dictionary& params);

    // The full-screen form's rule: a boolean "IsVisible" gives visibility as
    // it says; a string (whatever its text) hides the cell; absent or any
    // other kind shows it.
    static bool isCellVisible(const core::Dictionary& params);
    // The form cell section's rule: visible when "IsVisible" is absent or true.
    static bool isSectionCellVisible(const core::Dictionary& params);

    explicit FormCellRowList(Visibility visibility = &isCellVisible) : visibility_(visibility) {}

    void append(core::Dictionary params);
    std::size_t size() const { return cells_.size(); }
    bool empty() const { return cells_.empty(); }
    const std::vector<core::Dictionary>& cells() const { return cells_; }

    // nullptr when actualRow is out of range.
    const core::Dictionary* at(int actualRow) const;
    // Replaces the whole dictionary of a cell; false when out of range.
    bool replace(int actualRow, core::Dictionary params);
    // Sets each key of update in the stored dictionary; other keys stay.
    bool merge(int actualRow, const core::Dictionary& update);
    // Stores a new "Value" (never changes visibility).
    bool setValue(int actualRow, const core::Value& value);

    int visibleCount() const {
        if (dirty_) reindex();
        return static_cast<int>(visible_.size());
    }
    // The actual row of the cell shown at visibleRow; -1 when no cell is shown there.
    int actualRow(int visibleRow) const;
    // The visible row of the cell at actualRow; -1 when it is hidden or out of range.
    int visibleRow(int actualRow) const;
    bool isRowVisible(int actualRow) const;
    // The parameters of the cell shown at visibleRow, or nullptr.
    const core::Dictionary* visibleAt(int visibleRow) const;
    // True when no cell of the section is visible.
    bool allHidden() const { return visibleCount() == 0; }

    // The kind the cell's "_Type" names; none when it names no kind or the
    // row is out of range.
    std::optional<FormCellType::Kind> kind(int actualRow) const;

    // What a table asks of the cell shown at visibleRow, found in one go: a
    // row is built, and its height asked, on every scroll step.
    struct Shown {
        int actualRow = -1;  // -1, with no params, when no cell is shown there
        const core::Dictionary* params = nullptr;
        std::optional<FormCellType::Kind> kind;
        std::uint64_t generation = 0;  // rowGeneration(actualRow)
    };
    Shown shown(int visibleRow) const {
        if (dirty_) reindex();
        if (visibleRow < 0 || static_cast<std::size_t>(visibleRow) >= visible_.size()) return {};
        const int actual = visible_[static_cast<std::size_t>(visibleRow)];
        const Facts& facts = facts_[static_cast<std::size_t>(actual)];
        return {actual, &cells_[static_cast<std::size_t>(actual)], facts.kind, facts.generation};
    }

    // Called as the row at visibleRow is built: asks the processor to bring
    // the cells the table will most likely build next towards its cache. A
    // person scrolls steadily, so the next row to enter is the neighbour of
    // the one just built, on the side the rows built before it moved to.
    // Hints only: nothing is written, nothing that could fault is read, and
    // no answer of the list changes. Each call goes one level deeper into the
    // rows nearer visibleRow (where the cell is kept, its entries, the texts
    // and lists they point at), so no pointer is read from a line still on
    // its way. Rows beyond the ends are skipped.
    void prefetchAfter(int visibleRow) const;

    // Changes with every change to the list's cells (append, replace, merge,
    // setValue), and is never the same for two lists: what was found out
    // about a cell holds while the generation it was found in lasts.
    std::uint64_t generation() const { return generation_; }
    // The same for one cell: changes with every change to that cell only
    // (0, which no cell has, when out of range), so what was found out about
    // one cell outlasts changes to the others.
    std::uint64_t rowGeneration(int actualRow) const;

private:
    // What the list keeps beside each cell.
    struct Facts {
        std::optional<FormCellType::Kind> kind;
        std::uint64_t generation = 0;
    };
    void reindex() const;
    // Marks the cell changed; reads its kind again when its type may have changed.
    void changed(std::size_t row, bool typeChanged);

    Visibility visibility_;
    std::vector<core::Dictionary> cells_;
    std::vector<Facts> facts_;
    mutable std::vector<int> visible_;    // actual rows of the visible cells, in order
    mutable std::vector<int> visibleOf_;  // per actual row: its visible row, or -1
    mutable bool dirty_ = false;
    mutable int lastBuilt_ = 0;  // the visible row prefetchAfter() was called for last
    std::uint64_t generation_ = nextGeneration();

    static std::uint64_t nextGeneration();
};

}  // namespace trc::formcells
