#include "services/UIViewConstraintHandler.h"

#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"

namespace trc::services {

void UIViewConstraintHandler::applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                                            const std::shared_ptr<ui::UIView>& subView,
                                                            const std::shared_ptr<ui::UILayoutGuide>& layoutGuide) {
    if (!superView || !subView || !layoutGuide) return;
    using A = ui::NSLayoutConstraint::Attribute;
    using C = ui::NSLayoutConstraint;
    subView->translatesAutoresizingMaskIntoConstraints = false;
    C::activate({
        C::make(subView, A::Top, superView, A::Top),
        C::make(subView, A::Bottom, superView, A::Bottom),
        C::makeToGuide(subView, A::Leading, layoutGuide, A::Leading),
        C::makeToGuide(subView, A::Trailing, layoutGuide, A::Trailing),
    });
}

}  // namespace trc::services
