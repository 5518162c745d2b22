#pragma once
// Horizontal alignment of a cell's content, and its names "left", "right"
// and "center" (exact, lower case); any other name is no alignment.

#include <optional>
#include <string_view>

namespace trc::vessa {

enum class VUIHorizontalAlignment { Left, Center, Right };

std::optional<VUIHorizontalAlignment> horizontalAlignmentFromString(std::string_view name);
const char* horizontalAlignmentName(VUIHorizontalAlignment alignment);

}  // namespace trc::vessa
