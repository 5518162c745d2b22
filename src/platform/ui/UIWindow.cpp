#include "platform/ui/UIWindow.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIViewController.h"

namespace trc::ui {

namespace {

// The one screen size every window starts with, so layout is the same on every run.
constexpr double kScreenWidth = 390;
constexpr double kScreenHeight = 844;

}  // namespace

const core::ClassInfo& UIWindow::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIWindow>("UIWindow", UIView::classInfo())
            .constructible()
            .property("rootViewController", [](const UIWindow& w) { return objectOrNil(w.root_); })
            .property("isKeyWindow", [](const UIWindow& w) { return core::Value(w.isKeyWindow()); })
            .build();
    return info;
}

UIWindow::UIWindow() : UIView(CGRect(0, 0, kScreenWidth, kScreenHeight)) { setHidden(true); }

std::shared_ptr<UIWindow> UIWindow::window() const {
    return std::static_pointer_cast<UIWindow>(std::const_pointer_cast<core::Object>(weak_from_this().lock()));
}

void UIWindow::setRootViewController(const std::shared_ptr<UIViewController>& vc) {
    if (vc == root_) return;
    auto old = root_;
    root_ = vc;
    std::vector<std::pair<std::shared_ptr<UIViewController>, bool>> changes;
    if (old) {
        if (old->isViewLoaded()) old->view()->removeFromSuperview();
        if (old->isVisible()) changes.emplace_back(old, false);
    }
    if (vc) {
        auto v = vc->view();
        v->setFrame(bounds());
        addSubview(v);
        if (!isHidden()) changes.emplace_back(vc, true);
    }
    if (!changes.empty()) UIViewController::runTransition(changes, false, {});
}

void UIWindow::makeKeyAndVisible() {
    bool wasHidden = isHidden();
    setHidden(false);
    UIApplication::shared()->setKeyWindow(std::static_pointer_cast<UIWindow>(shared_from_this()));
    if (wasHidden && root_) UIViewController::runTransition({{root_, true}}, false, {});
}

bool UIWindow::isKeyWindow() const { return UIApplication::shared()->keyWindow().get() == this; }

std::shared_ptr<UIViewController> UIWindow::topViewController() const {
    auto shown = root_;
    if (!shown) return nullptr;
    for (;;) {
        if (auto presented = shown->presentedViewController()) {
            shown = presented;
        } else if (auto nav = std::dynamic_pointer_cast<UINavigationController>(shown);
                   nav && nav->topViewController()) {
            shown = nav->topViewController();
        } else {
            return shown;
        }
    }
}

bool UIWindow::makeFirstResponder(const std::shared_ptr<UIResponder>& responder) {
    auto current = firstResponder();
    if (current == responder) return true;
    if (current) {
        if (!current->canResignFirstResponder()) return false;
        firstResponder_.reset();
        --current->heldAsFirst_;
        current->didResignFirstResponder();
    }
    firstResponder_ = responder;
    if (responder) {
        ++responder->heldAsFirst_;
        responder->didBecomeFirstResponder();
    }
    return true;
}

void UIWindow::clearFirstResponder() {
    auto current = firstResponder();
    firstResponder_.reset();
    if (current) {
        --current->heldAsFirst_;
        current->didResignFirstResponder();
    }
}

}  // namespace trc::ui
