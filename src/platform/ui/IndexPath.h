#pragma once
// A row's place in a table: section and row, as the table shows them.
// Ordered by section, then row; hashable, so it can key maps of per-row
// state.

#include <compare>
#include <cstddef>
#include <functional>
#include <string>

namespace trc::ui {

struct IndexPath {
    int section = 0;
    int row = 0;

    friend bool operator==(const IndexPath&, const IndexPath&) = default;
    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
    // "[0, 1]", as transcripts and test messages show it.
    std::string description() const { return "[" + std::to_string(section) + ", " + std::to_string(row) + "]"; }
};

}  // namespace trc::ui

template <>
struct std::hash<trc::ui::IndexPath> {
    std::size_t operator()(const trc::ui::IndexPath& p) const noexcept {
        return std::hash<long long>()((static_cast<long long>(p.section) << 32) ^ static_cast<unsigned>(p.row));
    }
};
