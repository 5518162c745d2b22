#pragma once
// A container that shows one of its children at a time, the selected one,
// as a tab bar would. Only the selected child takes part in appearance.
// Owned by std::shared_ptr; main thread only.

#include <memory>
#include <vector>

#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UITabBarController : public UIViewController {
    TRC_OBJECT(UITabBarController)
public:
    // The children become the tabs; the first is selected.
    void setViewControllers(const std::vector<std::shared_ptr<UIViewController>>& vcs);
    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return children(); }

    std::shared_ptr<UIViewController> selectedViewController() const;
    // A child that is no tab of this controller is refused (false).
    bool setSelectedViewController(const std::shared_ptr<UIViewController>& vc);

protected:
    std::vector<std::shared_ptr<UIViewController>> childrenForAppearance() const override;

private:
    std::weak_ptr<UIViewController> selected_;
};

}  // namespace trc::ui
