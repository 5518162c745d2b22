#include "platform/vessa/VUIOptionTitles.h"

#include <algorithm>

namespace trc::vessa {

VUIOptionTitles& VUIOptionTitles::operator=(const std::vector<std::string>& titles) {
    core::Array list(titles.begin(), titles.end());
    share(core::Value(std::move(list)));
    return *this;
}

bool VUIOptionTitles::share(const core::Value& list) {
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

void VUIOptionTitles::shareTexts(const core::Value& list) {
    list_ = list;
    // The copy shares the list's array.
    items_ = list.ifArray();
}

void VUIOptionTitles::clear() {
    list_ = core::Value();
    items_ = nullptr;
}

core::Value VUIOptionTitles::value() const { return items_ ? list_ : core::Value(core::Array()); }

bool operator==(const VUIOptionTitles& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

}  // namespace trc::vessa
