#pragma once
// A layout guide: a rectangle a view offers for constraints without being a
// view itself (the view's margins, its readable content width). Nothing
// solves constraints here, so a guide is only something a recorded
// NSLayoutConstraint can name as its second item.
//
// The view that owns a guide keeps it; the guide refers back to its view
// weakly. Main thread only.

#include <memory>
#include <string>

#include "platform/core/Object.h"
#include "platform/ui/ConstraintNaming.h"

namespace trc::ui {

class UIView;

class UILayoutGuide : public core::Object {
    TRC_OBJECT(UILayoutGuide)
public:
    UILayoutGuide() = default;
    explicit UILayoutGuide(std::string identifier) : identifier(std::move(identifier)) {}

    // Names the guide in constraint descriptions.
    std::string identifier;
    std::shared_ptr<UIView> owningView() const { return owningView_.lock(); }

private:
    friend class UIView;
    friend class NSLayoutConstraint;
    std::weak_ptr<UIView> owningView_;
    // Constraints that name this guide, with the views that keep them.
    ConstraintNamings namedBy_;
};

}  // namespace trc::ui
