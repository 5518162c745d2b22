#pragma once
// How a bar and the status bar above it are drawn. Values only; the headless
// screen draws nothing, but controllers answer which style they want.

namespace trc::ui {

enum class UIBarStyle { Default, Black };
enum class UIStatusBarStyle { Default, LightContent, DarkContent };

}  // namespace trc::ui
