#include "formcells/FormCellRowList.h"

#include <algorithm>
#include <string>

#include "formcells/FormCellKeys.h"

namespace trc::formcells {

namespace {
constexpr const char* kIsVisible = FormCellKeys::kIsVisible;
constexpr const char* kValue = FormCellKeys::kValue;
constexpr const char* kType = FormCellKeys::kType;

std::optional<FormCellType::Kind> kindIn(const core::Dictionary& params) {
    const core::Value* type = params.find(kType);
    const std::string* raw = type ? type->ifString() : nullptr;
    return raw ? FormCellType::fromRawValue(*raw) : std::nullopt;
}
}  // namespace

bool FormCellRowList::isCellVisible(const core::Dictionary& params) {
    const core::Value* v = params.find(kIsVisible);
    if (!v) return true;
    if (const bool* b = v->ifBool()) return *b;
    return !v->isString();
}

bool FormCellRowList::isSectionCellVisible(const core::Dictionary& params) {
    const core::Value* v = params.find(kIsVisible);
    if (!v) return true;
    const bool* b = v->ifBool();
    return b && *b;
}

std::uint64_t FormCellRowList::nextGeneration() {
    static std::uint64_t last = 0;  // main thread only, like the lists
    return ++last;
}

void FormCellRowList::changed(std::size_t row, bool typeChanged) {
    generation_ = nextGeneration();
    facts_[row].generation = generation_;
    if (typeChanged) facts_[row].kind = kindIn(cells_[row]);
}

void FormCellRowList::append(core::Dictionary params) {
    const bool visible = visibility_(params);
    cells_.push_back(std::move(params));
    facts_.emplace_back();
    changed(cells_.size() - 1, true);
    if (dirty_) return;
    // Appending keeps the index valid without a rebuild.
    const int row = static_cast<int>(cells_.size()) - 1;
    if (visible) {
        visibleOf_.push_back(static_cast<int>(visible_.size()));
        visible_.push_back(row);
    } else {
        visibleOf_.push_back(-1);
    }
}

const core::Dictionary* FormCellRowList::at(int actualRow) const {
    if (actualRow < 0 || actualRow >= static_cast<int>(cells_.size())) return nullptr;
    return &cells_[static_cast<std::size_t>(actualRow)];
}

bool FormCellRowList::replace(int actualRow, core::Dictionary params) {
    if (!at(actualRow)) return false;
    cells_[static_cast<std::size_t>(actualRow)] = std::move(params);
    changed(static_cast<std::size_t>(actualRow), true);
    dirty_ = true;
    return true;
}

bool FormCellRowList::merge(int actualRow, const core::Dictionary& update) {
    if (!at(actualRow)) return false;
    cells_[static_cast<std::size_t>(actualRow)].merge(update);
    changed(static_cast<std::size_t>(actualRow), update.contains(kType));
    if (update.contains(kIsVisible)) dirty_ = true;
    return true;
}

bool FormCellRowList::setValue(int actualRow, const core::Value& value) {
    if (!at(actualRow)) return false;
    changed(static_cast<std::size_t>(actualRow), false);
    core::Dictionary& cell = cells_[static_cast<std::size_t>(actualRow)];
    // Into the value stored before, so a text that fits its room takes no new one.
    if (core::Value* stored = cell.find(kValue)) {
        *stored = value;
    } else {
        cell.set(kValue, value);
    }
    return true;
}

void FormCellRowList::reindex() const {
    if (!dirty_) return;
    visible_.clear();
    visibleOf_.assign(cells_.size(), -1);
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        if (visibility_(cells_[i])) {
            visibleOf_[i] = static_cast<int>(visible_.size());
            visible_.push_back(static_cast<int>(i));
        }
    }
    dirty_ = false;
}

int FormCellRowList::actualRow(int visibleRow) const {
    reindex();
    if (visibleRow < 0 || visibleRow >= static_cast<int>(visible_.size())) return -1;
    return visible_[static_cast<std::size_t>(visibleRow)];
}

int FormCellRowList::visibleRow(int actualRow) const {
    reindex();
    if (actualRow < 0 || actualRow >= static_cast<int>(visibleOf_.size())) return -1;
    return visibleOf_[static_cast<std::size_t>(actualRow)];
}

bool FormCellRowList::isRowVisible(int actualRow) const { return visibleRow(actualRow) >= 0; }

const core::Dictionary* FormCellRowList::visibleAt(int visibleRow) const { return at(actualRow(visibleRow)); }

std::optional<FormCellType::Kind> FormCellRowList::kind(int actualRow) const {
    if (!at(actualRow)) return std::nullopt;
    return facts_[static_cast<std::size_t>(actualRow)].kind;
}

namespace {
// The cache lines of a block a hint covers at most, so a long list does not
// flood the cache for a row that may not be built after all.
constexpr std::size_t kMostLines = 16;
constexpr std::size_t kLine = 64;
// Longer texts are on the heap (the shortest a string keeps inside itself is 15 bytes).
constexpr std::size_t kInsideText = 15;

void prefetchBlock(const void* begin, std::size_t bytes) {
    const auto* p = static_cast<const char*>(begin);
    for (std::size_t n = std::min(kMostLines, (bytes + kLine - 1) / kLine); n > 0; --n, p += kLine) {
        __builtin_prefetch(p);
    }
}

void prefetchText(const std::string& text) {
    if (text.size() <= kInsideText) return;  // in the line that holds the string
    __builtin_prefetch(text.data());
    __builtin_prefetch(text.data() + text.size() - 1);
}

// What the cell's entries point at: texts kept on the heap and where lists
// keep their items. The entries were asked for a step before. (Reading the
// items themselves ahead too cost a short form more than it saved a long one.)
void prefetchPointees(const core::Dictionary& cell) {
    for (const auto& [key, value] : cell) {
        if (const std::string* text = value.ifString()) {
            prefetchText(*text);
        } else if (value.isArray()) {
            __builtin_prefetch(value.ifArray());
        }
    }
}

}  // namespace

void FormCellRowList::prefetchAfter(int visibleRow) const {
    if (dirty_) return;  // the index is rebuilt by the next real question, not by a hint
    const int side = visibleRow < lastBuilt_ ? -1 : 1;
    lastBuilt_ = visibleRow;
    const auto actualAt = [&](int distance) {
        const int row = visibleRow + side * distance;
        return row >= 0 && static_cast<std::size_t>(row) < visible_.size() ? visible_[static_cast<std::size_t>(row)]
                                                                           : -1;
    };
    if (const int row = actualAt(4); row >= 0) {
        __builtin_prefetch(&cells_[static_cast<std::size_t>(row)]);
        __builtin_prefetch(&facts_[static_cast<std::size_t>(row)]);
    }
    if (const int row = actualAt(3); row >= 0) {
        const core::Dictionary& cell = cells_[static_cast<std::size_t>(row)];
        if (!cell.empty()) prefetchBlock(&*cell.begin(), cell.size() * sizeof(core::Dictionary::Entry));
    }
    if (const int row = actualAt(2); row >= 0) prefetchPointees(cells_[static_cast<std::size_t>(row)]);
}

std::uint64_t FormCellRowList::rowGeneration(int actualRow) const {
    if (!at(actualRow)) return 0;
    return facts_[static_cast<std::size_t>(actualRow)].generation;
}

}  // namespace trc::formcells
