// The rows on screen: the window of consecutive rows, laying them out into
// cells (reused ones first), their headers, and scrolling the window.

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace trc::ui {

namespace {

// Repeated reloads asked for from inside cell building are followed this
// many times; a data source that asks on every row would otherwise never end.
constexpr int kMaxReloadPasses = 8;

bool pathBefore(const std::pair<IndexPath, std::shared_ptr<UITableViewCell>>& shown, const IndexPath& p) {
    return shown.first < p;
}

}  // namespace

void UITableView::clampFirstVisible() {
    int total = totalRows();
    int limit = rowsOnScreen_ ? *rowsOnScreen_ : total;
    firstVisible_ = std::clamp(firstVisible_, 0, std::max(0, total - limit));
}

void UITableView::collectWantedRows() {
    // Only the rows in the window are visited, so a long table costs no more
    // per layout than a short one.
    wanted_.clear();
    int total = totalRows();
    int limit = rowsOnScreen_ ? *rowsOnScreen_ : total;
    int first = 0;  // flat index of the section's first row
    for (int s = 0; s < static_cast<int>(rowCounts_.size()); ++s) {
        const int count = rowCounts_[static_cast<std::size_t>(s)];
        const int from = std::max(firstVisible_, first);
        const int to = std::min(firstVisible_ + limit, first + count);
        for (int index = from; index < to; ++index) wanted_.push_back({s, index - first});
        first += count;
    }
}

UITableView::ShownCells::iterator UITableView::shownCell(const IndexPath& p) {
    auto it = std::lower_bound(cells_.begin(), cells_.end(), p, pathBefore);
    return it != cells_.end() && it->first == p ? it : cells_.end();
}

UITableView::ShownCells::const_iterator UITableView::shownCell(const IndexPath& p) const {
    auto it = std::lower_bound(cells_.begin(), cells_.end(), p, pathBefore);
    return it != cells_.end() && it->first == p ? it : cells_.end();
}

void UITableView::setRowsOnScreen(std::optional<int> rows) {
    rowsOnScreen_ = rows ? std::optional<int>(std::max(0, *rows)) : std::nullopt;
    if (!countsLoaded_) return;
    clampFirstVisible();
    if (laidOut_) layoutRows();
}

void UITableView::layoutSubviews() {
    ensureCounts();
    laidOut_ = true;
    clampFirstVisible();
    layoutRows();
}

void UITableView::layoutRows() {
    if (building_) {
        reloadPending_ = true;
        return;
    }
    for (int pass = 0;; ++pass) {
        building_ = true;
        if (!scrollWithinSection()) layoutWantedRows();
        building_ = false;
        if (!reloadPending_) return;
        reloadPending_ = false;
        if (pass + 1 >= kMaxReloadPasses) {
            logError("table: the data source keeps asking for reloads while rows are built; stopped");
            return;
        }
        recycleRows();
        recycleHeaders();
        loadCounts();
        clampFirstVisible();
    }
}

bool UITableView::scrollWithinSection() {
    // The common scroll: the rows on screen are one run of a section, and the
    // window moves within that section. Only the rows at its ends come and
    // go, so the rows that stay are neither listed nor looked for, and the
    // section's header stays as it is.
    if (!scrolling_ || !rowsOnScreen_ || cells_.empty() || headers_.size() != 1) return false;
    const IndexPath front = cells_.front().first;
    const int section = front.section;
    const int shownCount = static_cast<int>(cells_.size());
    if (cells_.back().first.section != section || cells_.back().first.row - front.row + 1 != shownCount ||
        headers_.begin()->first != section || section < 0 || section >= static_cast<int>(rowCounts_.size())) {
        return false;
    }
    const int sectionStart = rowCounts_.start(static_cast<std::size_t>(section));
    const int total = rowCounts_.total();
    const int from = firstVisible_ - sectionStart;
    const int to = std::min(firstVisible_ + *rowsOnScreen_, total) - sectionStart;
    if (from < 0 || to <= from || to > rowCounts_[static_cast<std::size_t>(section)]) return false;

    // Rows that leave: those above the window, then those below it, in the
    // order the rows were on screen.
    const int above = std::clamp(from - front.row, 0, shownCount);
    const int below = std::clamp(to - front.row, above, shownCount);
    // The rows that stay, [keptFrom, keptTo); none when the window jumped
    // past every row on screen (then all are built, in order).
    const int keptFrom = above < below ? front.row + above : to;
    const int keptTo = above < below ? front.row + below : to;
    if (above + (shownCount - below) == 1) {
        // The common step: one row leaves, at one end. Taken out of the rows
        // before it is recycled, as a longer run is.
        std::shared_ptr<UITableViewCell> cell = above == 1 ? cells_.takeFront() : cells_.takeBack();
        leftRows(cell.get());
        recycle(std::move(cell));
    } else if (above > 0 || below < shownCount) {
        leaving_.clear();
        const auto firstKept = cells_.begin() + above;
        const auto firstBelow = cells_.begin() + below;
        for (auto it = cells_.begin(); it != firstKept; ++it) leaving_.push_back(std::move(it->second));
        for (auto it = firstBelow; it != cells_.end(); ++it) leaving_.push_back(std::move(it->second));
        cells_.erase(firstBelow, cells_.end());
        cells_.erase(cells_.begin(), cells_.begin() + above);
        for (auto& cell : leaving_) {
            leftRows(cell.get());
            recycle(std::move(cell));
        }
        leaving_.clear();
    }
    // Each built row's place is known: before the rows that stay, or after.
    for (int row = from; row < keptFrom; ++row) buildCell({section, row}, static_cast<std::size_t>(row - from));
    for (int row = keptTo; row < to; ++row) buildCell({section, row}, static_cast<std::size_t>(row - from));

    // The one header on screen is the section's (checked above), and a
    // scroll keeps its height: no look-up.
    auto& headerHeight = headers_.begin()->second.height;
    if (!headerHeight) headerHeight = heightForHeader(section);
    double y = *headerHeight;
    // Building keeps one cell per row, in order, so the window's rows are
    // cells_ as it stands; the look-up is for a data source that broke that.
    const bool inPlace = static_cast<int>(cells_.size()) == to - from && cells_.front().first.row == from &&
                         cells_.back().first.row == to - 1;
    const auto place = [&](int row, UITableViewCell* cell, bool kept) {
        // A scroll asks only the rows it brings for their heights; the rows
        // that stay keep theirs.
        const double h = cell && kept ? cell->frame().size.height : heightForRow({section, row});
        if (cell) cell->setFrame(CGRect(0, y, frame().size.width, h));
        y += h;
    };
    if (!inPlace) {
        for (int row = from; row < to; ++row) {
            auto it = shownCell({section, row});
            place(row, it == cells_.end() ? nullptr : it->second.get(), row >= keptFrom && row < keptTo);
        }
        return true;
    }
    // In three runs (built, kept, built), so the rows that stay, most of
    // them, are placed without a test per row.
    const ShownCell* shown = cells_.data();
    for (int row = from; row < keptFrom; ++row, ++shown) place(row, shown->second.get(), false);
    // Nothing runs between the rows that stay, so the table's width holds
    // for all of them. A row on screen always has a cell (buildCell puts in
    // a stand-in when the data source gives none), so none is tested for.
    const double width = frame().size.width;
    for (const ShownCell* keptEnd = shown + (keptTo - keptFrom); shown != keptEnd; ++shown)
        y += shown->second->moveKeepingHeight(y, width);
    for (int row = keptTo; row < to; ++row, ++shown) place(row, shown->second.get(), false);
    return true;
}

void UITableView::layoutWantedRows() {
    collectWantedRows();
    // wanted_ is in index path order, as cells_ is: one walk over both
    // finds the rows that leave, with no search per row, and closes up
    // the rows that stay.
    leaving_.clear();
    {
        auto want = wanted_.cbegin();
        const auto wantEnd = wanted_.cend();
        auto kept = cells_.begin();
        for (auto shown = cells_.begin(); shown != cells_.end(); ++shown) {
            while (want != wantEnd && *want < shown->first) ++want;
            if (want == wantEnd || !(*want == shown->first)) {
                leaving_.push_back(std::move(shown->second));
                continue;
            }
            if (kept != shown) *kept = std::move(*shown);
            ++kept;
        }
        cells_.erase(kept, cells_.end());
    }
    for (auto& cell : leaving_) {
        leftRows(cell.get());
        recycle(std::move(cell));
    }
    leaving_.clear();
    // cells_ now holds wanted rows only, so the wanted row at i is either
    // cells_[i] already or missing there; building inserts it at i.
    builtNow_.assign(wanted_.size(), 0);
    for (std::size_t i = 0; i < wanted_.size(); ++i) {
        if (i < cells_.size() && cells_[i].first == wanted_[i]) continue;
        buildCell(wanted_[i]);
        builtNow_[i] = 1;
    }
    buildHeaders(wanted_);
    double y = 0;
    int lastSection = -1;
    for (std::size_t i = 0; i < wanted_.size(); ++i) {
        const IndexPath& p = wanted_[i];
        if (p.section != lastSection) {
            lastSection = p.section;
            y += shownHeaderHeight(p.section);
        }
        auto it =
            i < cells_.size() && cells_[i].first == p ? cells_.begin() + static_cast<std::ptrdiff_t>(i) : shownCell(p);
        // A scroll asks only the rows it brings for their heights; the
        // rows that stay keep theirs.
        const bool keepsHeight = scrolling_ && it != cells_.end() && !builtNow_[i];
        double h = keepsHeight ? it->second->frame().size.height : heightForRow(p);
        if (it != cells_.end()) it->second->setFrame(CGRect(0, y, frame().size.width, h));
        y += h;
    }
}

void UITableView::buildCell(const IndexPath& p, std::optional<std::size_t> at) {
    std::shared_ptr<UITableViewCell> cell;
    if (auto ds = dataSource()) {
        try {
            cell = ds->cellForRowAt(*this, p);
        } catch (const std::exception& e) {
            logError("table: building row " + p.description() + " failed: " + e.what());
        }
    }
    // Only a cell marked as one of this table's rows can be on screen already.
    if (cell && cell->shownTable_ == serial_) {
        for (const auto& [other, shown] : cells_) {
            if (shown == cell) {
                logError("table: the data source gave row " + p.description() + " the cell of row " +
                         other.description() + "; an empty cell stands in");
                cell = nullptr;
                break;
            }
        }
    } else if (!cell) {
        logError("table: no cell for row " + p.description() + "; an empty cell stands in");
    }
    if (!cell) cell = std::make_shared<UITableViewCell>();
    cell->shownTable_ = serial_;
    addSubview(cell);
    // The place given is taken when the rows around it agree, else searched.
    const bool placed = at && *at <= cells_.size() && (*at == 0 || cells_[*at - 1].first < p) &&
                        (*at == cells_.size() || !(cells_[*at].first < p));
    auto it = placed ? cells_.begin() + static_cast<std::ptrdiff_t>(*at)
                     : std::lower_bound(cells_.begin(), cells_.end(), p, pathBefore);
    if (it != cells_.end() && it->first == p) {
        leftRows(it->second.get());
        it->second = std::move(cell);
    } else if (it == cells_.end()) {
        cells_.emplace_back(p, std::move(cell));
    } else {
        // Opened by swapping an empty slot up from the back, cheaper than
        // move-assigning each cell after it.
        const auto index = static_cast<std::size_t>(it - cells_.begin());
        cells_.emplace_back();
        for (std::size_t i = cells_.size() - 1; i > index; --i) {
            cells_[i].first = cells_[i - 1].first;
            cells_[i].second.swap(cells_[i - 1].second);
        }
        cells_[index] = {p, std::move(cell)};
    }
}

void UITableView::buildHeaders(const std::vector<IndexPath>& wanted) {
    auto& sections = wantedSections_;
    sections.clear();
    // A section without rows shows its header when it lies inside the window.
    if (!rowsOnScreen_) {
        for (int s = 0; s < static_cast<int>(rowCounts_.size()); ++s) sections.push_back(s);
    } else {
        for (const auto& p : wanted) {
            if (sections.empty() || sections.back() != p.section) sections.push_back(p.section);
        }
    }
    // A scroll within the sections on screen, the common case, changes none.
    if (std::equal(sections.begin(), sections.end(), headers_.begin(), headers_.end(),
                   [](int s, const auto& shown) { return s == shown.first; })) {
        return;
    }
    const auto wantedSection = [&](int s) { return std::binary_search(sections.begin(), sections.end(), s); };
    for (auto it = headers_.begin(); it != headers_.end();) {
        if (wantedSection(it->first)) {
            ++it;
            continue;
        }
        if (it->second.view) it->second.view->removeFromSuperview();
        it = headers_.erase(it);
    }
    auto del = delegate();
    for (int s : sections) {
        // A section stays asked for while it is on screen, with a view or
        // without one.
        auto [shown, added] = headers_.try_emplace(s);
        if (!added) continue;
        std::shared_ptr<UIView> header = del ? del->viewForHeaderInSection(*this, s) : nullptr;
        if (!header) {
            if (auto title = titleForHeader(s)) {
                auto plain = std::make_shared<UITableViewHeaderFooterView>();
                plain->textLabel()->text = *title;
                header = plain;
            }
        }
        if (!header) continue;
        addSubview(header);
        shown->second.view = std::move(header);
    }
}

double UITableView::shownHeaderHeight(int section) {
    auto it = headers_.find(section);
    if (it == headers_.end()) return heightForHeader(section);
    // A scroll keeps the height of a section that stays, as it does its rows'.
    auto& height = it->second.height;
    if (!scrolling_ || !height) height = heightForHeader(section);
    return *height;
}

void UITableView::leftRows(UITableViewCell* cell) const {
    if (cell && cell->shownTable_ == serial_) cell->shownTable_ = 0;
}

void UITableView::recycleRows() {
    for (auto& [p, cell] : std::exchange(cells_, {})) {
        leftRows(cell.get());
        recycle(cell);
    }
}

std::shared_ptr<UITableViewCell> UITableView::cellForRow(const IndexPath& p) const {
    auto it = shownCell(p);
    return it == cells_.end() ? nullptr : it->second;
}

std::optional<IndexPath> UITableView::indexPathForCell(const UITableViewCell& cell) const {
    for (const auto& [p, shown] : cells_) {
        if (shown.get() == &cell) return p;
    }
    return std::nullopt;
}

std::vector<IndexPath> UITableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> rows;
    rows.reserve(cells_.size());
    for (const auto& [p, cell] : cells_) rows.push_back(p);
    return rows;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    cells.reserve(cells_.size());
    for (const auto& [p, cell] : cells_) cells.push_back(cell);
    return cells;
}

void UITableView::scrollToRow(const IndexPath& p, ScrollPosition position, bool animated) {
    if (recordsUpdates()) {
        note("scrollToRow " + p.description() + " " + scrollPositionName(position) + (animated ? " animated" : ""));
    }
    ensureCounts();
    if (!validIn(rowCounts_.list(), p)) {
        logError("scrollToRow: row " + p.description() + " is not in the table");
        return;
    }
    if (rowsOnScreen_) {
        int limit = *rowsOnScreen_;
        int index = flatIndex(p);
        switch (position) {
        case ScrollPosition::Top: firstVisible_ = index; break;
        case ScrollPosition::Middle: firstVisible_ = index - limit / 2; break;
        case ScrollPosition::Bottom: firstVisible_ = index - limit + 1; break;
        case ScrollPosition::None:
            if (index < firstVisible_)
                firstVisible_ = index;
            else if (index >= firstVisible_ + limit)
                firstVisible_ = index - limit + 1;
            break;
        }
        clampFirstVisible();
    }
    if (!laidOut_) return;
    const bool outer = std::exchange(scrolling_, true);
    layoutRows();
    scrolling_ = outer;
}

}  // namespace trc::ui
