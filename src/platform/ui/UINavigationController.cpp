#include "platform/ui/UINavigationController.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

const core::ClassInfo& UINavigationController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UINavigationController>("UINavigationController", UIViewController::classInfo())
            .constructible()
            .property("viewControllers",
                      [](const UINavigationController& nav) { return objectArray(nav.viewControllers()); })
            .property("topViewController",
                      [](const UINavigationController& nav) { return objectOrNil(nav.topViewController()); })
            .build();
    return info;
}

std::shared_ptr<UINavigationController> UINavigationController::make(const std::shared_ptr<UIViewController>& root) {
    auto nav = std::make_shared<UINavigationController>();
    if (root) nav->setViewControllers({root}, false);
    return nav;
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
    return children().empty() ? nullptr : children().back();
}

std::shared_ptr<UIViewController> UINavigationController::visibleViewController() const {
    auto top = topViewController();
    if (!top) return nullptr;
    auto shown = top;
    while (auto p = shown->presentedViewController()) shown = p;
    return shown;
}

std::vector<std::shared_ptr<UIViewController>> UINavigationController::childrenForAppearance() const {
    auto top = topViewController();
    if (!top) return {};
    return {top};
}

void UINavigationController::loadView() {
    UIViewController::loadView();
    if (auto top = topViewController()) view()->addSubview(top->view());
}

void UINavigationController::replaceTop(const std::shared_ptr<UIViewController>& oldTop, bool animated,
                                        Completion completion) {
    auto newTop = topViewController();
    if (isViewLoaded()) {
        if (oldTop && oldTop != newTop && oldTop->isViewLoaded()) oldTop->view()->removeFromSuperview();
        if (newTop) {
            auto v = newTop->view();
            v->setFrame(view()->bounds());
            view()->addSubview(v);
        }
    }
    std::vector<std::pair<std::shared_ptr<UIViewController>, bool>> changes;
    if (isVisible() && oldTop != newTop) {
        if (oldTop) changes.emplace_back(oldTop, false);
        if (newTop) changes.emplace_back(newTop, true);
    }
    if (changes.empty() && !completion) return;
    runTransition(changes, animated, std::move(completion));
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& vc, bool animated,
                                                Completion completion) {
    if (!vc || vc->parent() || vc->presentingViewController() || vc.get() == this) {
        core::SharedLoggerManager::log("ui", core::Severity::warn,
                                       "push: the view controller is missing or already shown elsewhere; ignored");
        return;
    }
    auto oldTop = topViewController();
    addChild(vc);
    replaceTop(oldTop, animated, std::move(completion));
}

std::shared_ptr<UIViewController> UINavigationController::popViewController(bool animated, Completion completion) {
    if (children().size() < 2) return nullptr;
    auto oldTop = topViewController();
    oldTop->removeFromParent();
    replaceTop(oldTop, animated, std::move(completion));
    return oldTop;
}

std::vector<std::shared_ptr<UIViewController>> UINavigationController::popToRootViewController(bool animated) {
    std::vector<std::shared_ptr<UIViewController>> popped;
    if (children().size() < 2) return popped;
    auto oldTop = topViewController();
    popped.assign(children().begin() + 1, children().end());
    for (const auto& vc : popped) vc->removeFromParent();
    replaceTop(oldTop, animated, {});
    return popped;
}

void UINavigationController::setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& vcs,
                                                bool animated) {
    auto oldTop = topViewController();
    auto current = children();
    for (const auto& vc : current) vc->removeFromParent();
    for (const auto& vc : vcs) {
        if (!vc || vc->parent() || vc.get() == this) {
            core::SharedLoggerManager::log("ui", core::Severity::warn,
                                           "setViewControllers: a view controller is missing or twice; skipped");
            continue;
        }
        addChild(vc);
    }
    replaceTop(oldTop, animated, {});
}

}  // namespace trc::ui
