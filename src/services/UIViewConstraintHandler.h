#pragma once
// Pins a view inside another: top and bottom to the super-view, leading and
// trailing to a layout guide (on wide screens, the margins or the readable
// width), so a row's content lines up with the text around it.
//
// Static and stateless (what a caller keeps, it keeps); main thread only, as all view work. A missing view
// or guide is logged and leaves everything as it was.

#include <memory>
#include <vector>

namespace trc::ui {
class NSLayoutConstraint;
class UILayoutGuide;
class UIView;
}  // namespace trc::ui

namespace trc::services {

class UIViewConstraintHandler {
public:
    // Turns off the sub-view's autoresizing-mask translation, then activates
    // four constraints with constant 0: the sub-view's top and bottom equal to
    // the super-view's, its leading and trailing equal to the guide's.
    static void applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                              const std::shared_ptr<ui::UIView>& subView,
                                              const std::shared_ptr<ui::UILayoutGuide>& layoutGuide);
    // The same with the four constraints kept in `kept` by an earlier call:
    // they are pointed at these views and the guide instead of made anew (any
    // other constraint kept there is taken out of force), so a cell that pins
    // each new row's view makes its constraints once.
    static void applyLeadTrailGuideConstraint(const std::shared_ptr<ui::UIView>& superView,
                                              const std::shared_ptr<ui::UIView>& subView,
                                              const std::shared_ptr<ui::UILayoutGuide>& layoutGuide,
                                              std::vector<std::shared_ptr<ui::NSLayoutConstraint>>& kept);
};

}  // namespace trc::services
