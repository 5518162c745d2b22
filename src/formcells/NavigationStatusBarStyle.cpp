#include "formcells/NavigationStatusBarStyle.h"

#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIStatusBarStyleHelper.h"

namespace trc::formcells {

ui::UIStatusBarStyle NavigationStatusBarStyle::preferredStatusBarStyle(
    const ui::UINavigationController& navigationController) {
    if (auto chosen = vessa::VUIStatusBarStyleHelper::statusBarStyle()) return *chosen;
    return navigationController.barStyle == ui::UIBarStyle::Default ? ui::UIStatusBarStyle::Default
                                                                    : ui::UIStatusBarStyle::LightContent;
}

}  // namespace trc::formcells
