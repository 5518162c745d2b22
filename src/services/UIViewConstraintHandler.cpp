#include "services/UIViewConstraintHandler.h"

#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"

namespace trc::services {

void UIViewConstraintHandler::applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                                            const std::shared_ptr<ui::UIView>& subView,
                                                            const std::shared_ptr<ui::UILayoutGuide>& layoutGuide) {
    std::vector<std::shared_ptr<ui::NSLayoutConstraint>> made;
    applyLeadTrailGuideConstraint(superView, subView, layoutGuide, made);
}

void UIViewConstraintHandler::applyLeadTrailGuideConstraint(
    const std::shared_ptr<ui::UIView>& superView, const std::shared_ptr<ui::UIView>& subView,
    const std::shared_ptr<ui::UILayoutGuide>& layoutGuide, std::vector<std::shared_ptr<ui::NSLayoutConstraint>>& kept) {
    if (!superView || !subView || !layoutGuide) {
        core::SharedLoggerManager::log(
            core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
            "a view is pinned to a super-view and a layout guide, and one of them is missing; "
            "no constraints added");
        return;
    }
    using ui::NSLayoutConstraint;
    using A = NSLayoutConstraint::Attribute;
    subView->translatesAutoresizingMaskIntoConstraints = false;
    NSLayoutConstraint::deactivate(kept);
    kept.resize(4);
    NSLayoutConstraint::remake(kept[0], subView, A::Top, superView, A::Top);
    NSLayoutConstraint::remake(kept[1], subView, A::Bottom, superView, A::Bottom);
    NSLayoutConstraint::remakeToGuide(kept[2], subView, A::Leading, layoutGuide, A::Leading);
    NSLayoutConstraint::remakeToGuide(kept[3], subView, A::Trailing, layoutGuide, A::Trailing);
    NSLayoutConstraint::activate(kept);
}

}  // namespace trc::services
