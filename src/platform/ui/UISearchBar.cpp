#include "platform/ui/UISearchBar.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UISearchBarDelegate.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UISearchBar::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UISearchBar>("UISearchBar", UIView::classInfo())
            .constructible()
            .property("text", [](const UISearchBar& b) { return textOrNil(b.text); })
            .property("placeholder", [](const UISearchBar& b) { return textOrNil(b.placeholder); })
            .build();
    return info;
}

void UISearchBar::enterText(const std::string& searchText) {
    becomeFirstResponder();
    text = searchText;
    if (auto d = delegate()) d->searchBarTextDidChange(*this, searchText);
}

void UISearchBar::pressSearchButton() {
    if (auto d = delegate()) d->searchBarSearchButtonClicked(*this);
}

}  // namespace trc::ui
