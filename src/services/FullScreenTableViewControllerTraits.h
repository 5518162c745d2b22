#pragma once
// What a table page shown full screen does when it loads and appears: it
// stays hidden until it has appeared, and then pins its view to its
// superview (under the host's top bar unless the page is embedded) and
// shows itself. Adopted by the full-screen form and the sectioned page;
// each may override either step.
//
// A mixin: the adopting class must also be a ui::UIViewController (the
// defaults act on that controller's view and do nothing otherwise).
// Main thread only.

#include "services/Constants.h"

namespace trc::services {

class FullScreenTableViewControllerTraits {
public:
    // The gap between the page and the top of its superview when not embedded.
    static constexpr double kTopAnchor = Constants::TABLEVIEW_TOP_ANCHOR;

    virtual ~FullScreenTableViewControllerTraits() = default;

    // Hides the controller's view.
    virtual void onFullScreenTableViewControllerLoaded();
    // Pins the view to its superview (top gap 0 when embedded, else
    // kTopAnchor), takes the superview's frame and shows the view; nothing
    // without a view or a superview.
    virtual void onFullScreenTableViewControllerAppeared(bool isInEmbeddedFrame);
};

}  // namespace trc::services
