#pragma once
// The status bar style the application chose for every screen of the UI
// framework, if it chose one. Process-wide, reset with the process state;
// main thread only.

#include <optional>

#include "platform/ui/UIBarStyle.h"

namespace trc::vessa {

class VUIStatusBarStyleHelper {
public:
    static std::optional<ui::UIStatusBarStyle> statusBarStyle();
    static void setStatusBarStyle(std::optional<ui::UIStatusBarStyle> style);
};

}  // namespace trc::vessa
