#pragma once
// The status bar style of a navigation controller that shows forms: the UI
// framework's chosen style when the application set one; otherwise light
// content over a bar that is not of the default style, and the default
// style over a default bar. Stateless; main thread only.

#include "platform/ui/UIBarStyle.h"

namespace trc::ui {
class UINavigationController;
}

namespace trc::formcells {

class NavigationStatusBarStyle {
public:
    static ui::UIStatusBarStyle preferredStatusBarStyle(const ui::UINavigationController& navigationController);
};

}  // namespace trc::formcells
