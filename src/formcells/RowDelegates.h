#pragma once
// The callback object of each row an owner of form cells builds, kept by
// table section and host row, so that a row built again on a scroll step
// does not search the owner's map by "_Name": in a long form that map is
// large and out of the cache, and names that share a long prefix are
// compared level by level, which costs more than the rest of the build.
//
// What is kept for a row holds while that row's generation lasts (a change
// to the row ends it; changes to other rows do not) and until forget(),
// which the owner calls whenever its map of callback objects changes what a
// name finds. Main thread only, like its owner.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "formcells/FormCellKeys.h"
#include "formcells/FormCellRowList.h"
#include "platform/core/Object.h"

namespace trc::formcells {

class RowDelegates {
public:
    using Delegate = std::shared_ptr<core::Object>;

    // The owner's map of callback objects changed.
    void forget() { ++epoch_; }

    // The callback object of the row shown as `row` among the section's
    // rows: lookup() answers it when none is kept for the row.
    template <class Lookup>
    Delegate find(int section, const FormCellRowList& rows, const FormCellRowList::Shown& row, Lookup&& lookup) {
        if (section < 0 || row.actualRow < 0) return lookup();
        const auto s = static_cast<std::size_t>(section);
        // Sections are few and numbered from 0: indexed, not searched.
        if (kept_.size() <= s) kept_.resize(s + 1);
        std::vector<Kept>& kept = kept_[s];
        if (kept.size() < rows.size()) kept.resize(rows.size());
        Kept& k = kept[static_cast<std::size_t>(row.actualRow)];
        if (k.generation != row.generation || k.epoch != epoch_) {
            k.delegate = lookup();
            k.generation = row.generation;
            k.epoch = epoch_;
        }
        return k.delegate;
    }

    // The row at actualRow changed from generation `before` without a
    // change to what its name finds (a value, a host update that leaves
    // "_Name" alone): what was kept for it at `before` holds for the
    // generation it has now, so the change costs no lookup. Nothing when
    // nothing was kept for `before`, or the map changed since.
    void carry(int section, const FormCellRowList& rows, int actualRow, std::uint64_t before) {
        if (section < 0 || actualRow < 0 || static_cast<std::size_t>(section) >= kept_.size()) return;
        std::vector<Kept>& kept = kept_[static_cast<std::size_t>(section)];
        if (static_cast<std::size_t>(actualRow) >= kept.size()) return;
        Kept& k = kept[static_cast<std::size_t>(actualRow)];
        if (k.generation == before && k.epoch == epoch_) k.generation = rows.rowGeneration(actualRow);
    }

    // Whether a row's parameters before and after a change make it look up
    // the same callback object: the same text under "_Name", or none in
    // either. Asked before the change, as the old parameters go with it.
    static bool sameName(const core::Dictionary& before, const core::Dictionary& after) {
        const std::string* a = nameIn(before);
        const std::string* b = nameIn(after);
        return a && b ? *a == *b : a == b;
    }

    // The same for the row at actualRow, shown or not.
    template <class Lookup>
    Delegate find(int section, const FormCellRowList& rows, int actualRow, Lookup&& lookup) {
        const core::Dictionary* params = rows.at(actualRow);
        const FormCellRowList::Shown row{params ? actualRow : -1, params, rows.kind(actualRow),
                                         rows.rowGeneration(actualRow)};
        return find(section, rows, row, std::forward<Lookup>(lookup));
    }

private:
    static const std::string* nameIn(const core::Dictionary& params) {
        const core::Value* name = params.find(FormCellKeys::kName);
        return name ? name->ifString() : nullptr;
    }

    struct Kept {
        std::uint64_t generation = 0;  // no list has generation 0
        std::uint64_t epoch = 0;
        Delegate delegate;
    };
    std::vector<std::vector<Kept>> kept_;
    std::uint64_t epoch_ = 1;
};

}  // namespace trc::formcells
