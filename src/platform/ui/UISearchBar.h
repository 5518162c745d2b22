#pragma once
// A search field. The person's entries: enterText() (the whole search text,
// as typed) and pressSearchButton(); both tell the delegate (held weakly).
// The bar takes the focus while the person types. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/UIView.h"

namespace trc::ui {

class UISearchBarDelegate;

class UISearchBar : public UIView {
    TRC_OBJECT(UISearchBar)
public:
    std::optional<std::string> text;
    std::optional<std::string> placeholder;

    std::shared_ptr<UISearchBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UISearchBarDelegate>& delegate) { delegate_ = delegate; }

    bool canBecomeFirstResponder() const override { return !isHidden() && isUserInteractionEnabled; }

    void enterText(const std::string& searchText);
    void pressSearchButton();

private:
    std::weak_ptr<UISearchBarDelegate> delegate_;
};

}  // namespace trc::ui
