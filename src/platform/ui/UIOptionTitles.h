#pragma once
// The titles a cell or control offers as options: its own, or a host's
// list of texts taken as it stands. A reused cell given its new row's list
// takes it without copying a title (host lists are copied on write, so the titles
// stay as given even when the host changes its row later) and allocates
// nothing. Main thread only, like the cells.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::ui {

class UIOptionTitles {
public:
    UIOptionTitles() = default;
    UIOptionTitles& operator=(const std::vector<std::string>& titles);

    // Offers the texts of list when it is an array of strings; false, and
    // the titles as they were, when it is anything else.
    bool share(const core::Value& list);
    // The same for a list the caller has found to be an array of one text
    // or more: its items are not read again.
    void shareTexts(const core::Value& list);
    void clear();

    std::size_t size() const { return items_ ? items_->size() : 0; }
    bool empty() const { return size() == 0; }
    const std::string& operator[](std::size_t index) const { return *(*items_)[index].ifString(); }
    // The titles as a host list (an empty one when there are none).
    core::Value value() const;

    friend bool operator==(const UIOptionTitles& a, const std::vector<std::string>& b);
    friend bool operator==(const UIOptionTitles& a, const UIOptionTitles& b);

private:
    core::Value list_;
    // list_'s array, read in place; null when there are no titles.
    const core::Array* items_ = nullptr;
};

}  // namespace trc::ui
