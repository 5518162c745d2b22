// Reloads and row updates: what the data source says changed, applied to
// the rows on screen (rebuilt, moved or recycled), with a full reload
// whenever the counts do not add up.

#include <algorithm>
#include <functional>
#include <set>
#include <utility>

#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"

namespace trc::ui {

namespace {

std::string pathsText(const std::vector<IndexPath>& paths) {
    std::string text;
    for (const auto& p : paths) text += " " + p.description();
    return text;
}

}  // namespace

void UITableView::reloadAll(const char* reason) {
    if (building_) {
        reloadPending_ = true;
        return;
    }
    if (reason) logError(reason);
    recycleRows();
    recycleHeaders();
    selected_.reset();
    loadCounts();
    clampFirstVisible();
    if (laidOut_) layoutRows();
}

void UITableView::setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
    if (dataSource && dataSource_.lock() == dataSource) return;
    dataSource_ = dataSource;
    if (building_) {
        reloadPending_ = true;
        return;
    }
    recycleRows();
    recycleHeaders();
    selected_.reset();
    rowCounts_.clear();
    countsLoaded_ = false;
    laidOut_ = false;
    firstVisible_ = 0;
    setNeedsLayout();
}

void UITableView::reloadData() {
    note("reloadData");
    ++reloadDataCount_;
    if (!laidOut_) {
        countsLoaded_ = false;
        setNeedsLayout();
        return;
    }
    reloadAll(nullptr);
}

void UITableView::reloadSections(const std::vector<int>& sections, RowAnimation animation) {
    if (recordsUpdates()) {
        std::string text = "reloadSections";
        for (int s : sections) text += " " + std::to_string(s);
        note(text + " " + rowAnimationName(animation));
    }
    if (!laidOut_) {
        countsLoaded_ = false;
        return;
    }
    if (building_) {
        reloadPending_ = true;
        return;
    }
    std::set<int> wanted;
    for (int s : sections) {
        if (s < 0 || s >= static_cast<int>(rowCounts_.size())) {
            logError("reloadSections: section " + std::to_string(s) + " is not in the table");
        } else {
            wanted.insert(s);
        }
    }
    auto counts = queryCounts();
    if (counts.size() != rowCounts_.size()) {
        reloadAll("reloadSections: the number of sections changed without an update; the whole table reloads");
        return;
    }
    std::vector<std::shared_ptr<UITableViewCell>> old;
    cells_.erase(std::remove_if(cells_.begin(), cells_.end(),
                                [&](ShownCell& shown) {
                                    if (!wanted.contains(shown.first.section)) return false;
                                    leftRows(shown.second.get());
                                    old.push_back(std::move(shown.second));
                                    return true;
                                }),
                 cells_.end());
    for (int s : wanted) {
        if (auto it = headers_.find(s); it != headers_.end()) {
            if (it->second.view) it->second.view->removeFromSuperview();
            headers_.erase(it);
        }
    }
    if (selected_ && wanted.count(selected_->section)) selected_.reset();
    rowCounts_ = counts;
    clampFirstVisible();
    layoutRows();
    // Recycled only now, so the rows above got other cells than these.
    for (const auto& cell : old) recycle(cell);
}

void UITableView::reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    if (recordsUpdates()) note("reloadRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
    if (!laidOut_) return;
    if (building_) {
        reloadPending_ = true;
        return;
    }
    if (queryCounts() != rowCounts_.list()) {
        reloadAll("reloadRows: the row counts changed without an update; the whole table reloads");
        return;
    }
    std::vector<std::shared_ptr<UITableViewCell>> old;
    for (const auto& p : indexPaths) {
        if (!validIn(rowCounts_.list(), p)) {
            logError("reloadRows: row " + p.description() + " is not in the table");
            continue;
        }
        if (auto it = shownCell(p); it != cells_.end()) {
            leftRows(it->second.get());
            old.push_back(std::move(it->second));
            cells_.erase(it);
        }
    }
    layoutRows();
    for (const auto& cell : old) recycle(cell);
}

void UITableView::insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    if (recordsUpdates()) note("insertRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
    if (updateDepth_ > 0) {
        pendingInserts_.insert(pendingInserts_.end(), indexPaths.begin(), indexPaths.end());
        return;
    }
    applyRowChanges({}, indexPaths, "insertRows");
}

void UITableView::deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    if (recordsUpdates()) note("deleteRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
    if (updateDepth_ > 0) {
        pendingDeletes_.insert(pendingDeletes_.end(), indexPaths.begin(), indexPaths.end());
        return;
    }
    applyRowChanges(indexPaths, {}, "deleteRows");
}

void UITableView::beginUpdates() {
    note("beginUpdates");
    ++beginUpdatesCount_;
    ++updateDepth_;
}

void UITableView::endUpdates() {
    note("endUpdates");
    ++endUpdatesCount_;
    if (updateDepth_ == 0) {
        logError("endUpdates without beginUpdates; ignored");
        return;
    }
    if (--updateDepth_ > 0) return;
    auto deletes = std::move(pendingDeletes_);
    auto inserts = std::move(pendingInserts_);
    pendingDeletes_.clear();
    pendingInserts_.clear();
    applyRowChanges(std::move(deletes), std::move(inserts), "endUpdates");
}

void UITableView::applyRowChanges(std::vector<IndexPath> deletes, std::vector<IndexPath> inserts, const char* what) {
    if (!countsLoaded_) return;
    if (building_) {
        reloadPending_ = true;
        return;
    }
    for (auto* paths : {&deletes, &inserts}) {
        std::sort(paths->begin(), paths->end());
        paths->erase(std::unique(paths->begin(), paths->end()), paths->end());
    }
    // Each row named must be in the table it is named for; else the whole table reloads.
    const auto allIn = [&](const std::vector<int>& counts, const std::vector<IndexPath>& paths, const char* change) {
        for (const auto& p : paths) {
            if (!validIn(counts, p)) {
                reloadAll((std::string(what) + ": " + change + " row " + p.description() +
                           " is not in the table; the whole table reloads")
                              .c_str());
                return false;
            }
        }
        return true;
    };
    if (!allIn(rowCounts_.list(), deletes, "deleted")) return;
    auto counts = queryCounts();
    std::vector<int> expected = rowCounts_.list();
    for (const auto& p : deletes) --expected[static_cast<std::size_t>(p.section)];
    bool fits = counts.size() == expected.size();
    for (const auto& p : inserts) {
        if (!fits || p.section < 0 || p.section >= static_cast<int>(expected.size())) {
            fits = false;
            break;
        }
        ++expected[static_cast<std::size_t>(p.section)];
    }
    if (!fits || counts != expected) {
        reloadAll((std::string(what) +
                   ": the data source's row counts do not match the rows inserted and deleted; the whole table "
                   "reloads")
                      .c_str());
        return;
    }
    if (!allIn(counts, inserts, "inserted")) return;
    // Nothing inserted or deleted (a form lets a row's height follow its
    // content this way): every row on screen keeps its place, so only the
    // counts and the layout are taken anew.
    const auto before = [](const ShownCell& a, const ShownCell& b) { return a.first < b.first; };
    if (deletes.empty() && inserts.empty() &&
        std::adjacent_find(cells_.begin(), cells_.end(), std::not_fn(before)) == cells_.end()) {
        rowCounts_ = std::move(counts);
        clampFirstVisible();
        if (laidOut_) layoutRows();
        return;
    }
    auto moved = [&](const IndexPath& p) {
        int row = p.row;
        for (const auto& d : deletes) {
            if (d.section == p.section && d.row < p.row) --row;
        }
        for (const auto& i : inserts) {
            if (i.section == p.section && row >= i.row) ++row;
        }
        return IndexPath{p.section, row};
    };
    ShownCells kept;
    std::vector<std::shared_ptr<UITableViewCell>> gone;
    for (auto& [p, cell] : cells_) {
        if (std::binary_search(deletes.begin(), deletes.end(), p)) {
            leftRows(cell.get());
            gone.push_back(cell);
        } else {
            kept.emplace_back(moved(p), cell);
        }
    }
    // Rows keep their order when others come and go; should two land on one
    // row all the same, the later one keeps it.
    std::stable_sort(kept.begin(), kept.end(), before);
    const auto sameRow = [](const auto& a, const auto& b) { return a.first == b.first; };
    kept.erase(kept.begin(), std::unique(kept.rbegin(), kept.rend(), sameRow).base());
    if (selected_) {
        if (std::binary_search(deletes.begin(), deletes.end(), *selected_)) {
            selected_.reset();
        } else {
            selected_ = moved(*selected_);
        }
    }
    cells_ = std::move(kept);
    rowCounts_ = std::move(counts);
    for (const auto& cell : gone) recycle(cell);
    clampFirstVisible();
    if (laidOut_) layoutRows();
}

}  // namespace trc::ui
