#include "platform/ui/UIOptionTitles.h"

#include <algorithm>

namespace trc::ui {

UIOptionTitles& UIOptionTitles::operator=(const std::vector<std::string>& titles) {
    core::Array list(titles.begin(), titles.end());
    share(core::Value(std::move(list)));
    return *this;
}

bool UIOptionTitles::share(const core::Value& list) {
    const core::Array* items = list.ifArray();
    const bool texts =
        items && std::all_of(items->begin(), items->end(), [](const core::Value& v) { return v.isString(); });
    if (!texts) return false;
    if (items->empty()) {
        clear();
        return true;
    }
    shareTexts(list);
    return true;
}

void UIOptionTitles::shareTexts(const core::Value& list) {
    list_ = list;
    // The copy shares the list's array.
    items_ = list.ifArray();
}

void UIOptionTitles::clear() {
    list_ = core::Value();
    items_ = nullptr;
}

core::Value UIOptionTitles::value() const { return items_ ? list_ : core::Value(core::Array()); }

namespace {

template <class Titles>
bool sameTitles(const UIOptionTitles& a, const Titles& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

}  // namespace

bool operator==(const UIOptionTitles& a, const std::vector<std::string>& b) { return sameTitles(a, b); }

bool operator==(const UIOptionTitles& a, const UIOptionTitles& b) { return sameTitles(a, b); }

}  // namespace trc::ui
