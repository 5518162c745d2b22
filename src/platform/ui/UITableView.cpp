#include "platform/ui/UITableView.h"

#include <algorithm>
#include <exception>
#include <set>

#include "platform/core/ClassInfo.h"
#include "platform/core/Logging.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace trc::ui {

namespace {

// Repeated reloads asked for from inside cell building are followed this
// many times; a data source that asks on every row would otherwise never end.
constexpr int kMaxReloadPasses = 8;
constexpr double kDefaultRowHeight = 44;
constexpr double kTitledHeaderHeight = 28;

void logError(const std::string& message) { core::Logging::log("ui", "error", message); }

std::string pathsText(const std::vector<IndexPath>& paths) {
    std::string text;
    for (const auto& p : paths) text += " " + p.description();
    return text;
}

}  // namespace

const char* rowAnimationName(UITableView::RowAnimation animation) {
    switch (animation) {
        case UITableView::RowAnimation::Fade: return "fade";
        case UITableView::RowAnimation::Right: return "right";
        case UITableView::RowAnimation::Left: return "left";
        case UITableView::RowAnimation::Top: return "top";
        case UITableView::RowAnimation::Bottom: return "bottom";
        case UITableView::RowAnimation::None: return "none";
        case UITableView::RowAnimation::Middle: return "middle";
        case UITableView::RowAnimation::Automatic: return "automatic";
    }
    return "automatic";
}

const char* scrollPositionName(UITableView::ScrollPosition position) {
    switch (position) {
        case UITableView::ScrollPosition::None: return "none";
        case UITableView::ScrollPosition::Top: return "top";
        case UITableView::ScrollPosition::Middle: return "middle";
        case UITableView::ScrollPosition::Bottom: return "bottom";
    }
    return "none";
}

const core::ClassInfo& UITableView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITableView>("UITableView", UIView::classInfo())
            .constructible()
            .property("numberOfSections",
                      [](const UITableView& t) { return core::Value(static_cast<int>(t.rowCounts_.size())); })
            .property("rowCounts",
                      [](const UITableView& t) {
                          core::Array a;
                          for (int n : t.rowCounts_) a.emplace_back(n);
                          return core::Value(std::move(a));
                      })
            .property("visibleRows",
                      [](const UITableView& t) {
                          core::Array a;
                          for (const auto& p : t.indexPathsForVisibleRows()) a.emplace_back(core::Array{p.section, p.row});
                          return core::Value(std::move(a));
                      })
            .property("separatorColor",
                      [](const UITableView& t) {
                          return t.separatorColor ? core::Value(t.separatorColor->hexString()) : core::Value();
                      })
            .build();
    return info;
}

UITableView::UITableView(Style style) : style_(style) {}

// ---- registration and dequeueing

void UITableView::registerCell(const std::string& identifier, CellFactory factory, std::string className) {
    registrations_[identifier] = {std::move(factory), std::move(className)};
    // Cells of an earlier registration must not come back under the new one.
    pool_.erase(identifier);
}

std::optional<std::string> UITableView::registeredClassName(const std::string& identifier) const {
    auto it = registrations_.find(identifier);
    if (it == registrations_.end()) return std::nullopt;
    return it->second.className;
}

void UITableView::registerHeaderFooter(const std::string& identifier, HeaderFooterFactory factory,
                                       std::string className) {
    headerRegistrations_[identifier] = {std::move(factory), std::move(className)};
    headerPool_.erase(identifier);
}

std::shared_ptr<UITableViewCell> UITableView::takeCell(const std::string& identifier, bool logMissing) {
    auto reg = registrations_.find(identifier);
    if (reg == registrations_.end()) {
        if (logMissing) logError("dequeueReusableCell: no cell class registered under \"" + identifier + "\"");
        return nullptr;
    }
    auto& pool = pool_[identifier];
    if (!pool.empty()) {
        auto cell = pool.back();
        pool.pop_back();
        ++cell->reuseCount_;
        cell->prepareForReuse();
        return cell;
    }
    std::shared_ptr<UITableViewCell> cell = reg->second.factory ? reg->second.factory() : nullptr;
    if (!cell) {
        logError("dequeueReusableCell: the factory registered under \"" + identifier + "\" made no cell");
        return nullptr;
    }
    cell->reuseIdentifier_ = identifier;
    return cell;
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(const std::string& identifier,
                                                                  const IndexPath& /*indexPath*/) {
    return takeCell(identifier, true);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(const std::string& identifier) {
    return takeCell(identifier, false);
}

std::shared_ptr<UITableViewHeaderFooterView> UITableView::dequeueReusableHeaderFooterView(
    const std::string& identifier) {
    auto reg = headerRegistrations_.find(identifier);
    if (reg == headerRegistrations_.end()) return nullptr;
    auto& pool = headerPool_[identifier];
    if (!pool.empty()) {
        auto view = pool.back();
        pool.pop_back();
        view->prepareForReuse();
        return view;
    }
    auto view = reg->second.factory ? reg->second.factory() : nullptr;
    if (view) view->reuseIdentifier_ = identifier;
    return view;
}

// ---- counts

std::vector<int> UITableView::queryCounts() {
    std::vector<int> counts;
    auto ds = dataSource();
    if (!ds) return counts;
    int sections = std::max(0, ds->numberOfSections(*this));
    counts.reserve(static_cast<std::size_t>(sections));
    for (int s = 0; s < sections; ++s) counts.push_back(std::max(0, ds->numberOfRowsInSection(*this, s)));
    return counts;
}

int UITableView::numberOfSections() {
    ensureCounts();
    return static_cast<int>(rowCounts_.size());
}

int UITableView::numberOfRowsInSection(int section) {
    ensureCounts();
    if (section < 0 || section >= static_cast<int>(rowCounts_.size())) return 0;
    return rowCounts_[static_cast<std::size_t>(section)];
}

const std::vector<int>& UITableView::rowCounts() {
    ensureCounts();
    return rowCounts_;
}

bool UITableView::validIn(const std::vector<int>& counts, const IndexPath& p) const {
    return p.section >= 0 && p.section < static_cast<int>(counts.size()) && p.row >= 0 &&
           p.row < counts[static_cast<std::size_t>(p.section)];
}

bool UITableView::isValid(const IndexPath& p) {
    ensureCounts();
    return validIn(rowCounts_, p);
}

int UITableView::totalRows() const {
    int total = 0;
    for (int n : rowCounts_) total += n;
    return total;
}

int UITableView::flatIndex(const IndexPath& p) const {
    int index = 0;
    for (int s = 0; s < p.section; ++s) index += rowCounts_[static_cast<std::size_t>(s)];
    return index + p.row;
}

// ---- what is on screen

void UITableView::clampFirstVisible() {
    int total = totalRows();
    int limit = rowsOnScreen_ ? *rowsOnScreen_ : total;
    firstVisible_ = std::clamp(firstVisible_, 0, std::max(0, total - limit));
}

std::vector<IndexPath> UITableView::wantedRows() const {
    // Only the rows in the window are visited, so a long table costs no more
    // per layout than a short one.
    std::vector<IndexPath> rows;
    int total = totalRows();
    int limit = rowsOnScreen_ ? *rowsOnScreen_ : total;
    int first = 0;  // flat index of the section's first row
    for (int s = 0; s < static_cast<int>(rowCounts_.size()); ++s) {
        const int count = rowCounts_[static_cast<std::size_t>(s)];
        const int from = std::max(firstVisible_, first);
        const int to = std::min(firstVisible_ + limit, first + count);
        for (int index = from; index < to; ++index) rows.push_back({s, index - first});
        first += count;
    }
    return rows;
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
        auto wanted = wantedRows();
        std::set<IndexPath> wantedSet(wanted.begin(), wanted.end());
        for (auto it = cells_.begin(); it != cells_.end();) {
            if (wantedSet.count(it->first)) {
                ++it;
                continue;
            }
            auto cell = it->second;
            it = cells_.erase(it);
            recycle(cell);
        }
        for (const auto& p : wanted) {
            if (!cells_.count(p)) buildCell(p);
        }
        buildHeaders(wanted);
        double y = 0;
        int lastSection = -1;
        for (const auto& p : wanted) {
            if (p.section != lastSection) {
                lastSection = p.section;
                y += heightForHeader(p.section);
            }
            double h = heightForRow(p);
            if (auto it = cells_.find(p); it != cells_.end()) it->second->setFrame(CGRect(0, y, frame().size.width, h));
            y += h;
        }
        building_ = false;
        if (!reloadPending_) return;
        reloadPending_ = false;
        if (pass + 1 >= kMaxReloadPasses) {
            logError("table: the data source keeps asking for reloads while rows are built; stopped");
            return;
        }
        for (auto& [p, cell] : cells_) recycle(cell);
        cells_.clear();
        recycleHeaders();
        loadCounts();
        clampFirstVisible();
    }
}

void UITableView::buildCell(const IndexPath& p) {
    std::shared_ptr<UITableViewCell> cell;
    if (auto ds = dataSource()) {
        try {
            cell = ds->cellForRowAt(*this, p);
        } catch (const std::exception& e) {
            logError("table: building row " + p.description() + " failed: " + e.what());
        }
    }
    if (cell) {
        for (const auto& [other, shown] : cells_) {
            if (shown == cell) {
                logError("table: the data source gave row " + p.description() + " the cell of row " +
                         other.description() + "; an empty cell stands in");
                cell = nullptr;
                break;
            }
        }
    } else {
        logError("table: no cell for row " + p.description() + "; an empty cell stands in");
    }
    if (!cell) cell = std::make_shared<UITableViewCell>();
    addSubview(cell);
    cells_[p] = cell;
}

void UITableView::recycle(const std::shared_ptr<UITableViewCell>& cell) {
    if (!cell) return;
    // Leaving the table makes a first responder inside the cell resign.
    cell->removeFromSuperview();
    cell->isSelected = false;
    if (!cell->reuseIdentifier_.empty() && registrations_.count(cell->reuseIdentifier_)) {
        pool_[cell->reuseIdentifier_].push_back(cell);
    }
}

void UITableView::buildHeaders(const std::vector<IndexPath>& wanted) {
    std::set<int> sections;
    for (const auto& p : wanted) sections.insert(p.section);
    // A section without rows shows its header when it lies inside the window.
    if (!rowsOnScreen_) {
        for (int s = 0; s < static_cast<int>(rowCounts_.size()); ++s) sections.insert(s);
    }
    for (auto it = headers_.begin(); it != headers_.end();) {
        if (sections.count(it->first)) {
            ++it;
            continue;
        }
        it->second->removeFromSuperview();
        it = headers_.erase(it);
    }
    auto del = delegate();
    for (int s : sections) {
        if (headers_.count(s)) continue;
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
        headers_[s] = header;
    }
}

void UITableView::recycleHeaders() {
    for (auto& [s, view] : headers_) {
        view->removeFromSuperview();
        auto reusable = std::dynamic_pointer_cast<UITableViewHeaderFooterView>(view);
        if (reusable && headerRegistrations_.count(reusable->reuseIdentifier_)) {
            headerPool_[reusable->reuseIdentifier_].push_back(reusable);
        }
    }
    headers_.clear();
}

std::shared_ptr<UITableViewCell> UITableView::cellForRow(const IndexPath& p) const {
    auto it = cells_.find(p);
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
    for (const auto& [p, cell] : cells_) rows.push_back(p);
    return rows;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> cells;
    for (const auto& [p, cell] : cells_) cells.push_back(cell);
    return cells;
}

void UITableView::scrollToRow(const IndexPath& p, ScrollPosition position, bool animated) {
    note("scrollToRow " + p.description() + " " + scrollPositionName(position) + (animated ? " animated" : ""));
    ensureCounts();
    if (!validIn(rowCounts_, p)) {
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
                if (index < firstVisible_) firstVisible_ = index;
                else if (index >= firstVisible_ + limit) firstVisible_ = index - limit + 1;
                break;
        }
        clampFirstVisible();
    }
    if (laidOut_) layoutRows();
}

// ---- heights and headers

double UITableView::heightForRow(const IndexPath& p) {
    if (auto del = delegate()) {
        if (auto h = del->heightForRowAt(*this, p)) return *h;
    }
    if (rowHeight >= 0) return rowHeight;
    return estimatedRowHeight > 0 ? estimatedRowHeight : kDefaultRowHeight;
}

double UITableView::heightForHeader(int section) {
    if (auto del = delegate()) {
        if (auto h = del->heightForHeaderInSection(*this, section)) return *h;
    }
    if (sectionHeaderHeight >= 0) return sectionHeaderHeight;
    return titleForHeader(section) ? kTitledHeaderHeight : 0;
}

double UITableView::heightForFooter(int section) {
    if (auto del = delegate()) {
        if (auto h = del->heightForFooterInSection(*this, section)) return *h;
    }
    if (sectionFooterHeight >= 0) return sectionFooterHeight;
    auto ds = dataSource();
    return ds && ds->titleForFooterInSection(*this, section) ? kTitledHeaderHeight : 0;
}

std::shared_ptr<UIView> UITableView::headerView(int section) const {
    auto it = headers_.find(section);
    return it == headers_.end() ? nullptr : it->second;
}

std::optional<std::string> UITableView::titleForHeader(int section) {
    auto ds = dataSource();
    return ds ? ds->titleForHeaderInSection(*this, section) : std::nullopt;
}

// ---- selection

bool UITableView::selectRow(const IndexPath& p) {
    auto cell = cellForRow(p);
    if (!cell) {
        core::Logging::log("ui", "info", "selectRow: row " + p.description() + " is not on screen");
        return false;
    }
    if (selected_) {
        if (auto old = cellForRow(*selected_)) old->isSelected = false;
    }
    selected_ = p;
    cell->isSelected = true;
    if (auto del = delegate()) del->didSelectRowAt(*this, p);
    return true;
}

void UITableView::deselectRow(const IndexPath& p) {
    if (selected_ != p) return;
    if (auto cell = cellForRow(p)) cell->isSelected = false;
    selected_.reset();
}

// ---- reloads and updates

void UITableView::reloadAll(const char* reason) {
    if (building_) {
        reloadPending_ = true;
        return;
    }
    if (reason) logError(reason);
    for (auto& [p, cell] : cells_) recycle(cell);
    cells_.clear();
    recycleHeaders();
    selected_.reset();
    loadCounts();
    clampFirstVisible();
    if (laidOut_) layoutRows();
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
    std::string text = "reloadSections";
    for (int s : sections) text += " " + std::to_string(s);
    note(text + " " + rowAnimationName(animation));
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
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (wanted.count(it->first.section)) {
            old.push_back(it->second);
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
    for (int s : wanted) {
        if (auto it = headers_.find(s); it != headers_.end()) {
            it->second->removeFromSuperview();
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
    note("reloadRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
    if (!laidOut_) return;
    if (building_) {
        reloadPending_ = true;
        return;
    }
    if (queryCounts() != rowCounts_) {
        reloadAll("reloadRows: the row counts changed without an update; the whole table reloads");
        return;
    }
    std::vector<std::shared_ptr<UITableViewCell>> old;
    for (const auto& p : indexPaths) {
        if (!validIn(rowCounts_, p)) {
            logError("reloadRows: row " + p.description() + " is not in the table");
            continue;
        }
        if (auto it = cells_.find(p); it != cells_.end()) {
            old.push_back(it->second);
            cells_.erase(it);
        }
    }
    layoutRows();
    for (const auto& cell : old) recycle(cell);
}

void UITableView::insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    note("insertRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
    if (updateDepth_ > 0) {
        pendingInserts_.insert(pendingInserts_.end(), indexPaths.begin(), indexPaths.end());
        return;
    }
    applyRowChanges({}, indexPaths, "insertRows");
}

void UITableView::deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    note("deleteRows" + pathsText(indexPaths) + " " + rowAnimationName(animation));
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
    std::sort(deletes.begin(), deletes.end());
    deletes.erase(std::unique(deletes.begin(), deletes.end()), deletes.end());
    std::sort(inserts.begin(), inserts.end());
    inserts.erase(std::unique(inserts.begin(), inserts.end()), inserts.end());
    for (const auto& p : deletes) {
        if (!validIn(rowCounts_, p)) {
            reloadAll((std::string(what) + ": deleted row " + p.description() +
                       " is not in the table; the whole table reloads")
                          .c_str());
            return;
        }
    }
    auto counts = queryCounts();
    std::vector<int> expected = rowCounts_;
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
    for (const auto& p : inserts) {
        if (!validIn(counts, p)) {
            reloadAll((std::string(what) + ": inserted row " + p.description() +
                       " is not in the table; the whole table reloads")
                          .c_str());
            return;
        }
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
    std::map<IndexPath, std::shared_ptr<UITableViewCell>> kept;
    std::vector<std::shared_ptr<UITableViewCell>> gone;
    for (auto& [p, cell] : cells_) {
        if (std::binary_search(deletes.begin(), deletes.end(), p)) {
            gone.push_back(cell);
        } else {
            kept[moved(p)] = cell;
        }
    }
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
