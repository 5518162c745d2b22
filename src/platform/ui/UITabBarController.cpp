#include "platform/ui/UITabBarController.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UITabBarController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITabBarController>("UITabBarController", UIViewController::classInfo())
            .constructible()
            .property("viewControllers", [](const UITabBarController& t) { return objectArray(t.viewControllers()); })
            .property("selectedViewController",
                      [](const UITabBarController& t) { return objectOrNil(t.selectedViewController()); })
            .build();
    return info;
}

void UITabBarController::setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& vcs) {
    for (const auto& child : std::vector<std::shared_ptr<UIViewController>>(children())) child->removeFromParent();
    for (const auto& vc : vcs) addChild(vc);
    selected_ = vcs.empty() ? std::weak_ptr<UIViewController>() : vcs.front();
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const { return selected_.lock(); }

bool UITabBarController::setSelectedViewController(const std::shared_ptr<UIViewController>& vc) {
    const auto& tabs = children();
    if (!vc || std::find(tabs.begin(), tabs.end(), vc) == tabs.end()) return false;
    selected_ = vc;
    return true;
}

std::vector<std::shared_ptr<UIViewController>> UITabBarController::childrenForAppearance() const {
    auto selected = selectedViewController();
    if (!selected) return {};
    return {selected};
}

}  // namespace trc::ui
