#include "platform/vessa/VUIHorizontalAlignment.h"

namespace trc::vessa {

std::optional<VUIHorizontalAlignment> horizontalAlignmentFromString(std::string_view name) {
    if (name == "left") return VUIHorizontalAlignment::Left;
    if (name == "center") return VUIHorizontalAlignment::Center;
    if (name == "right") return VUIHorizontalAlignment::Right;
    return std::nullopt;
}

const char* horizontalAlignmentName(VUIHorizontalAlignment alignment) {
    switch (alignment) {
    case VUIHorizontalAlignment::Left: return "left";
    case VUIHorizontalAlignment::Center: return "center";
    case VUIHorizontalAlignment::Right: return "right";
    }
    return "left";
}

}  // namespace trc::vessa
