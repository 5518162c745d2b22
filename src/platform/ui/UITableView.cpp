#include "platform/ui/UITableView.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"

namespace trc::ui {

namespace {

constexpr double kDefaultRowHeight = 44;
constexpr double kTitledHeaderHeight = 28;

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
                          for (const auto& p : t.indexPathsForVisibleRows())
                              a.emplace_back(core::Array{p.section, p.row});
                          return core::Value(std::move(a));
                      })
            .property("separatorColor",
                      [](const UITableView& t) {
                          return t.separatorColor ? core::Value(t.separatorColor->hexString()) : core::Value();
                      })
            .build();
    return info;
}

UITableView::UITableView(Style style) : style_(style) {
    static std::uint64_t tables = 0;
    serial_ = ++tables;
}

void UITableView::logError(const std::string& message) {
    core::SharedLoggerManager::log("ui", core::Severity::error, message);
}

// ---- update log

void UITableView::recordUpdates(std::size_t limit) {
    updateLogLimit_ = std::max<std::size_t>(limit, 1);
    updateLog_.clear();
}

void UITableView::note(std::string entry) {
    if (!recordsUpdates()) return;
    if (updateLog_.size() >= updateLogLimit_) {
        updateLog_.erase(updateLog_.begin(),
                         updateLog_.begin() + static_cast<std::ptrdiff_t>(updateLog_.size() - updateLogLimit_ + 1));
    }
    updateLog_.push_back(std::move(entry));
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
    return rowCounts_.list();
}

bool UITableView::validIn(const std::vector<int>& counts, const IndexPath& p) const {
    return p.section >= 0 && p.section < static_cast<int>(counts.size()) && p.row >= 0 &&
           p.row < counts[static_cast<std::size_t>(p.section)];
}

bool UITableView::isValid(const IndexPath& p) {
    ensureCounts();
    return validIn(rowCounts_.list(), p);
}

UITableView::RowCounts& UITableView::RowCounts::operator=(std::vector<int> counts) {
    counts_ = std::move(counts);
    starts_.resize(counts_.size() + 1);
    int total = 0;
    for (std::size_t s = 0; s < counts_.size(); ++s) {
        starts_[s] = total;
        total += counts_[s];
    }
    starts_.back() = total;
    return *this;
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
    return it == headers_.end() ? nullptr : it->second.view;
}

std::optional<std::string> UITableView::titleForHeader(int section) {
    auto ds = dataSource();
    return ds ? ds->titleForHeaderInSection(*this, section) : std::nullopt;
}

// ---- selection

bool UITableView::selectRow(const IndexPath& p) {
    auto cell = cellForRow(p);
    if (!cell) {
        core::SharedLoggerManager::log("ui", core::Severity::info,
                                       "selectRow: row " + p.description() + " is not on screen");
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

}  // namespace trc::ui
