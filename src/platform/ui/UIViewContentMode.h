#pragma once
// How a view fits its content (an image) into its bounds. A plain value.

namespace trc::ui {

enum class UIViewContentMode { ScaleToFill, ScaleAspectFit, ScaleAspectFill, Center };

inline const char* contentModeName(UIViewContentMode mode) {
    switch (mode) {
    case UIViewContentMode::ScaleToFill: return "scaleToFill";
    case UIViewContentMode::ScaleAspectFit: return "scaleAspectFit";
    case UIViewContentMode::ScaleAspectFill: return "scaleAspectFill";
    case UIViewContentMode::Center: return "center";
    }
    return "scaleToFill";
}

}  // namespace trc::ui
