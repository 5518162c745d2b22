#pragma once
// A headless view controller: a lazily loaded root view, the appearance
// lifecycle, child view controllers and modal presentation.
//
// Timing: a transition (present, dismiss, push, pop, becoming a window's
// root) makes its changes and calls viewWillAppear/viewWillDisappear at
// once; viewDidAppear/viewDidDisappear and then the completion run on the
// main queue, after the call returns (as an animation would end). A test or
// the simulator runs the main queue to finish it. Completions are never run
// inside the call that took them.
//
// Presentation is rooted at the receiver's topmost parent (a child asking
// to present presents from its container), which then owns the presented
// controller; the presented controller refers back weakly. A controller
// presents one controller at a time: asking again while one is shown is
// refused with a log line and its completion never runs. dismiss() on a
// presenter dismisses what it presents (and everything above it); on a
// presented controller it asks its presenter. With nothing to dismiss the
// completion still runs, so a caller waiting on it never hangs.
//
// Appearance reaches children: a container's will/did calls are forwarded
// to the children it shows (all children, or for a navigation controller
// only its top), parent first. Main thread only; always owned by
// std::shared_ptr.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/CGRect.h"
#include "platform/ui/UIResponder.h"
#include "platform/ui/UITraitCollection.h"

namespace trc::ui {

class UIView;
class UINavigationController;

enum class UIModalPresentationStyle {
    Automatic,
    FullScreen,
    PageSheet,
    FormSheet,
    CurrentContext,
    Custom,
    OverFullScreen,
    OverCurrentContext,
    Popover,
    None
};
const char* modalPresentationStyleName(UIModalPresentationStyle style);

class UIViewController : public UIResponder {
    TRC_OBJECT(UIViewController)
public:
    using Completion = std::function<void()>;
    enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };

    UIViewController() = default;

    // The root view, loaded (loadView, then viewDidLoad) on first use.
    std::shared_ptr<UIView> view();
    bool isViewLoaded() const { return view_ != nullptr; }
    // Replaces the root view without loading; viewDidLoad is not called.
    void setView(std::shared_ptr<UIView> view);
    void loadViewIfNeeded() { (void)view(); }

    std::optional<std::string> title;
    UIModalPresentationStyle modalPresentationStyle = UIModalPresentationStyle::Automatic;
    UITraitCollection traitCollection;
    // Whether a person may not swipe the controller away while it is presented.
    bool isModalInPresentation = false;
    // The size a sheet presentation would give the controller's view.
    CGSize preferredContentSize;

    // Lifecycle, for subclasses. The base versions do nothing.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}

    AppearanceState appearanceState() const { return appearance_; }
    // True between will-appear and will-disappear.
    bool isVisible() const {
        return appearance_ == AppearanceState::Appearing || appearance_ == AppearanceState::Appeared;
    }
    // Drives the lifecycle by hand (containers, windows). Repeated calls in
    // the same direction are ignored; end finishes whichever began.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    // Begins the given appearance changes (controller, appearing) now and
    // finishes them, then runs the completion, on the main queue.
    static void runTransition(const std::vector<std::pair<std::shared_ptr<UIViewController>, bool>>& changes,
                              bool animated, Completion completion);

    // Children.
    std::shared_ptr<UIViewController> parent() const { return parent_.lock(); }
    const std::vector<std::shared_ptr<UIViewController>>& children() const { return children_; }
    void addChild(const std::shared_ptr<UIViewController>& child);
    void removeFromParent();
    std::shared_ptr<UINavigationController> navigationController() const;

    // Presentation.
    void present(const std::shared_ptr<UIViewController>& vc, bool animated, Completion completion = {});
    void dismiss(bool animated, Completion completion = {});
    // Both answer for the controller's topmost parent, where presentation is rooted.
    std::shared_ptr<UIViewController> presentedViewController() const;
    std::shared_ptr<UIViewController> presentingViewController() const;
    bool isBeingPresented() const { return beingPresented_; }
    bool isBeingDismissed() const { return beingDismissed_; }
    // True when this controller (or, failing that, its parent) is what its
    // presenter presents.
    bool isPresentedModally() const;
    // As isPresentedModally, and presented full screen or over full screen.
    bool isPresentedModallyInFullScreen() const;

    std::shared_ptr<UIResponder> nextResponder() const override;
    std::shared_ptr<UIWindow> responderWindow() const override;

protected:
    // The children that appear and disappear with this controller.
    virtual std::vector<std::shared_ptr<UIViewController>> childrenForAppearance() const { return children_; }

private:
    std::shared_ptr<UIViewController> presentationRoot();

    std::shared_ptr<UIView> view_;
    std::weak_ptr<UIViewController> parent_;
    std::vector<std::shared_ptr<UIViewController>> children_;
    std::shared_ptr<UIViewController> presented_;
    std::weak_ptr<UIViewController> presenting_;
    AppearanceState appearance_ = AppearanceState::Disappeared;
    bool transitionAnimated_ = false;
    bool beingPresented_ = false;
    bool beingDismissed_ = false;
    // The presenter was taken off screen by this (full-screen) presentation
    // and comes back when it ends.
    bool hidPresenter_ = false;
};

}  // namespace trc::ui
