#include "services/UIViewConstraintHandler.h"

#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"
#include "platform/core/SharedLoggerManager.h"

namespace trc::services {

void UIViewConstraintHandler::applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                                             const std::shared_ptr<ui::UIView>& subView,
                                                             const std::shared_ptr<ui::UILayoutGuide>& layoutGuide) {
    if (!superView || !subView || !layoutGuide) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                 "a view is pinned to a super-view and a layout guide, and one of them is missing; "
                                 "no constraints added");
        return;
    }
    using ui::NSLayoutConstraint;
    using A = NSLayoutConstraint::Attribute;
    subView->translatesAutoresizingMaskIntoConstraints = false;
    NSLayoutConstraint::activate({
        NSLayoutConstraint::make(subView, A::Top, superView, A::Top),
        NSLayoutConstraint::make(subView, A::Bottom, superView, A::Bottom),
        NSLayoutConstraint::makeToGuide(subView, A::Leading, layoutGuide, A::Leading),
        NSLayoutConstraint::makeToGuide(subView, A::Trailing, layoutGuide, A::Trailing),
    });
}

}  // namespace trc::services
