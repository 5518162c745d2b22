// The reuse pool: cell and header classes registered by identifier, cells
// handed out again after their rows left the screen.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/ui/UITableView.h"

#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewHeaderFooterView.h"

namespace trc::ui {

std::size_t UITableView::IdentifierHash::operator()(std::string_view s) const noexcept {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    std::uint64_t h = s.size();
    const auto mix = [&h](std::uint64_t w) { h = (h ^ w) * kMultiplier; };
    if (s.size() >= kWord) {
        const auto word = [&s](std::size_t at) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + at, kWord);
            return w;
        };
        mix(word(0));
        mix(word(s.size() / 2 - kWord / 2));
        mix(word(s.size() - kWord));
    } else {
        std::uint64_t w = 0;
        for (char c : s) w = (w << 8) | static_cast<unsigned char>(c);
        mix(w);
    }
    return static_cast<std::size_t>(h ^ (h >> 32));
}

void UITableView::registerCell(const std::string& identifier, CellFactory factory, std::string className) {
    auto [it, added] = registrations_.try_emplace(identifier);
    // Cells of another class must not come back under the new registration.
    const Registration& before = it->second;
    const bool sameClass = before.className == className && before.factory && factory &&
                           before.factory.target_type() == factory.target_type();
    if (!added && !sameClass) {
        it->second.pool.clear();
        it->second.classSince = ++classChanges_;
    }
    it->second.factory = std::move(factory);
    it->second.className = std::move(className);
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

std::shared_ptr<UITableViewCell> UITableView::takeCell(std::string_view identifier, bool logMissing) {
    auto reg = registrations_.find(identifier);
    if (reg == registrations_.end()) {
        if (logMissing) {
            logError("dequeueReusableCell: no cell class registered under \"" + std::string(identifier) + "\"");
        }
        return nullptr;
    }
    auto& pool = reg->second.pool;
    if (!pool.empty()) {
        auto cell = std::move(pool.back());
        pool.pop_back();
        ++cell->reuseCount_;
        cell->prepareForReuse();
        return cell;
    }
    return makeCell(reg->second, identifier);
}

std::shared_ptr<UITableViewCell> UITableView::makeCell(Registration& reg, std::string_view identifier) {
    std::shared_ptr<UITableViewCell> cell = reg.factory ? reg.factory() : nullptr;
    if (!cell) {
        logError("dequeueReusableCell: the factory registered under \"" + std::string(identifier) + "\" made no cell");
        return nullptr;
    }
    cell->reuseIdentifier_ = identifier;
    // A cell without an identifier is not reused.
    cell->poolTable_ = identifier.empty() ? 0 : serial_;
    cell->pool_ = &reg.pool;
    cell->poolClassSince_ = &reg.classSince;
    cell->poolClasses_ = classChanges_;
    return cell;
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(std::string_view identifier,
                                                                  const IndexPath& /*indexPath*/) {
    return takeCell(identifier, true);
}

std::shared_ptr<UITableViewCell> UITableView::dequeueReusableCell(std::string_view identifier) {
    return takeCell(identifier, false);
}

std::shared_ptr<UITableViewHeaderFooterView> UITableView::dequeueReusableHeaderFooterView(std::string_view identifier) {
    auto reg = headerRegistrations_.find(identifier);
    if (reg == headerRegistrations_.end()) return nullptr;
    if (auto pool = headerPool_.find(identifier); pool != headerPool_.end() && !pool->second.empty()) {
        auto view = std::move(pool->second.back());
        pool->second.pop_back();
        view->prepareForReuse();
        return view;
    }
    auto view = reg->second.factory ? reg->second.factory() : nullptr;
    if (view) view->reuseIdentifier_ = identifier;
    return view;
}

void UITableView::recycle(std::shared_ptr<UITableViewCell> cell) {
    if (!cell) return;
    // Leaving the table makes a first responder inside the cell resign.
    cell->removeFromSuperview();
    cell->isSelected = false;
    if (cell->poolTable_ == serial_) {
        // A cell made before another class took its identifier is let go:
        // the pool hands out the new class only.
        if (cell->poolClasses_ < *cell->poolClassSince_) return;
        auto* pool = cell->pool_;
        pool->push_back(std::move(cell));
        return;
    }
    if (cell->reuseIdentifier_.empty()) return;
    if (auto reg = registrations_.find(cell->reuseIdentifier_); reg != registrations_.end()) {
        reg->second.pool.push_back(std::move(cell));
    }
}

void UITableView::recycleHeaders() {
    for (auto& [s, shown] : headers_) {
        if (!shown.view) continue;
        shown.view->removeFromSuperview();
        auto reusable = std::dynamic_pointer_cast<UITableViewHeaderFooterView>(shown.view);
        if (!reusable || !headerRegistrations_.contains(reusable->reuseIdentifier_)) continue;
        headerPool_[reusable->reuseIdentifier_].push_back(reusable);
    }
    headers_.clear();
}

}  // namespace trc::ui
