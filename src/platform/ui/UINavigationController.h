#pragma once
// A stack of view controllers of which only the top is shown. The stack are
// its children; only the top takes part in appearance. Push and pop follow
// the transition timing of UIViewController (will-calls at once, did-calls
// and completion on the main queue) when the navigation controller is on
// screen; off screen they only change the stack.
//
// Make one with make(root); owned by std::shared_ptr. Main thread only.

#include <memory>
#include <vector>

#include "platform/ui/UIBarStyle.h"
#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UINavigationController : public UIViewController {
    TRC_OBJECT(UINavigationController)
public:
    UINavigationController() = default;
    static std::shared_ptr<UINavigationController> make(const std::shared_ptr<UIViewController>& root);

    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return children(); }
    // The style of the navigation bar.
    UIBarStyle barStyle = UIBarStyle::Default;
    // The heights of the navigation bar and of the toolbar, as laid out.
    static constexpr double kNavigationBarHeight = 44;
    static constexpr double kToolbarHeight = 44;
    double navigationBarHeight = kNavigationBarHeight;
    double toolbarHeight = kToolbarHeight;
    std::shared_ptr<UIViewController> topViewController() const;
    // What a person sees: the top's presented controller, else the top.
    std::shared_ptr<UIViewController> visibleViewController() const;

    // A controller already in a container is refused with a log line.
    void pushViewController(const std::shared_ptr<UIViewController>& vc, bool animated, Completion completion = {});
    // The popped controller; nullptr (nothing done) when only the root is left.
    std::shared_ptr<UIViewController> popViewController(bool animated, Completion completion = {});
    std::vector<std::shared_ptr<UIViewController>> popToRootViewController(bool animated);
    void setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& vcs, bool animated);

    void loadView() override;

protected:
    std::vector<std::shared_ptr<UIViewController>> childrenForAppearance() const override;

private:
    // Shows the new top in place of the old one.
    void replaceTop(const std::shared_ptr<UIViewController>& oldTop, bool animated, Completion completion);
};

}  // namespace trc::ui
