#pragma once
// Pins a view inside another with layout constraints, for code that places
// a view it was handed into a cell or a page. Static, stateless; main thread
// only, like the views.

#include <memory>

namespace trc::ui {
class UILayoutGuide;
class UIView;
}  // namespace trc::ui

namespace trc::services {

class UIViewConstraintHandler {
public:
    // subView's top and bottom to superView's, its leading and trailing to
    // layoutGuide's, all with constant 0; subView stops translating its
    // autoresizing mask. Nothing when a view or the guide is missing.
    static void applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                              const std::shared_ptr<ui::UIView>& subView,
                                              const std::shared_ptr<ui::UILayoutGuide>& layoutGuide);

private:
    UIViewConstraintHandler() = delete;
};

}  // namespace trc::services
