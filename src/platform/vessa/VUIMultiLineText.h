#pragma once
// A text with the most lines it may take when drawn, as the signature pad
// draws its footnote. A plain value.

#include <string>

namespace trc::vessa {

struct VUIMultiLineText {
    std::string text;
    int numberOfLines = 1;
};

}  // namespace trc::vessa
