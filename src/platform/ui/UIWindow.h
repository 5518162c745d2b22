#pragma once
// A window: the root of a view tree, showing its root view controller, and
// keeping the window's one first responder (weakly).
//
// Setting the root view controller of a visible window runs the lifecycle
// (the old root disappears, the new one appears; did-calls on the main
// queue). makeKeyAndVisible() shows the window, makes it the application's
// key window and lets its root appear. Windows are kept by UIApplication.
// Main thread only.

#include <memory>

#include "platform/ui/UIView.h"

namespace trc::ui {

class UIViewController;

class UIWindow : public UIView {
    TRC_OBJECT(UIWindow)
public:
    // A window starts hidden and the size of a phone screen.
    UIWindow();

    std::shared_ptr<UIViewController> rootViewController() const { return root_; }
    void setRootViewController(const std::shared_ptr<UIViewController>& vc);

    void makeKeyAndVisible();
    bool isKeyWindow() const;

    std::shared_ptr<UIResponder> firstResponder() const { return firstResponder_.lock(); }
    // The view controller a person sees: the top of the presentation chain
    // from the root (a navigation controller's top stands for it).
    std::shared_ptr<UIViewController> topViewController() const;

    std::shared_ptr<UIWindow> window() const override;
    const UIWindow* asWindow() const override { return this; }

private:
    friend class UIResponder;
    friend class UIView;

    // Makes responder (or nobody) the first responder; false when the
    // current one refuses to resign.
    bool makeFirstResponder(const std::shared_ptr<UIResponder>& responder);
    // Resigns the first responder whether it agrees or not (it left the window).
    void clearFirstResponder();

    std::shared_ptr<UIViewController> root_;
    std::weak_ptr<UIResponder> firstResponder_;
};

}  // namespace trc::ui
