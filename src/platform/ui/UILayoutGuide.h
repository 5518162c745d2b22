#pragma once
// A rectangle a view offers to lay other views out against without adding a
// view: its layout margins and its readable content width. Layout code
// constrains a view's edges to a guide's; nothing solves constraints in the
// headless views, so a guide is only named and pointed at.
//
// Owned by its view (UIView::layoutMarginsGuide(), readableContentGuide());
// it holds that view weakly. Main thread only.

#include <memory>
#include <string>

#include "platform/core/Object.h"

namespace trc::ui {

class UIView;

class UILayoutGuide : public core::Object {
    TRC_OBJECT(UILayoutGuide)
public:
    UILayoutGuide(std::string identifier, const std::shared_ptr<UIView>& owningView);

    // "layoutMarginsGuide" or "readableContentGuide": how constraint
    // descriptions name the guide.
    const std::string& identifier() const { return identifier_; }
    std::shared_ptr<UIView> owningView() const { return owningView_.lock(); }

private:
    std::string identifier_;
    std::weak_ptr<UIView> owningView_;
};

}  // namespace trc::ui
