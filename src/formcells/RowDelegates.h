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
#include <map>
#include <memory>
#include <vector>

#include "formcells/FormCellRowList.h"
#include "platform/core/Object.h"

namespace trc::formcells {

class RowDelegates {
public:
    using Delegate = std::shared_ptr<core::Object>;

    // The owner's map of callback objects changed.
    void forget() { ++epoch_; }

    // The callback object of the row at actualRow of the section's rows:
    // lookup() answers it when none is kept for the row.
    template <class Lookup>
    Delegate find(int section, const FormCellRowList& rows, int actualRow, Lookup&& lookup) {
        if (actualRow < 0 || static_cast<std::size_t>(actualRow) >= rows.size()) return lookup();
        std::vector<Kept>& kept = kept_[section];
        if (kept.size() < rows.size()) kept.resize(rows.size());
        Kept& k = kept[static_cast<std::size_t>(actualRow)];
        const std::uint64_t generation = rows.rowGeneration(actualRow);
        if (k.generation != generation || k.epoch != epoch_) {
            k.delegate = lookup();
            k.generation = generation;
            k.epoch = epoch_;
        }
        return k.delegate;
    }

private:
    struct Kept {
        std::uint64_t generation = 0;  // no list has generation 0
        std::uint64_t epoch = 0;
        Delegate delegate;
    };
    std::map<int, std::vector<Kept>> kept_;
    std::uint64_t epoch_ = 1;
};

}  // namespace trc::formcells
