#include "services/FullScreenTableViewControllerTraits.h"

#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"

namespace trc::services {

namespace {
// The view of the adopting controller, loading it if needed.
std::shared_ptr<ui::UIView> controllerView(FullScreenTableViewControllerTraits* self) {
    auto* vc = dynamic_cast<ui::UIViewController*>(self);
    return vc ? vc->view() : nullptr;
}
}  // namespace

void FullScreenTableViewControllerTraits::onFullScreenTableViewControllerLoaded() {
    if (auto view = controllerView(this)) view->setHidden(true);
}

void FullScreenTableViewControllerTraits::onFullScreenTableViewControllerAppeared(bool isInEmbeddedFrame) {
    auto view = controllerView(this);
    if (!view) return;
    auto superview = view->superview();
    if (!superview) return;
    using A = ui::NSLayoutConstraint::Attribute;
    using C = ui::NSLayoutConstraint;
    view->translatesAutoresizingMaskIntoConstraints = false;
    C::activate({
        C::make(view, A::Top, superview, A::Top, isInEmbeddedFrame ? 0.0 : kTopAnchor),
        C::make(view, A::Bottom, superview, A::Bottom),
        C::make(view, A::Leading, superview, A::Leading),
        C::make(view, A::Trailing, superview, A::Trailing),
        C::make(view, A::CenterX, superview, A::CenterX),
    });
    view->setFrame(superview->frame());
    view->setHidden(false);
}

}  // namespace trc::services
