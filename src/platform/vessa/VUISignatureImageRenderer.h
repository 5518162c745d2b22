#pragma once
// Draws the signature pad's image with cairo, as the pad would: the
// background, then the footnote block at the bottom (the footnote text,
// wrapped at word boundaries to the image's width and cut to its number of
// lines with a closing ellipsis, then the time stamp on a line of its own),
// then the strokes over everything as round-capped, round-joined lines.
//
// Text needs a font file; without one (fontPath none or unreadable) the
// strokes are still drawn and a warning is logged ("vessa" logger). An
// image of no size, or larger than any screen, has no pixels. Stateless
// apart from the font faces it keeps per file; main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/CGRect.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIMultiLineText.h"

namespace trc::vessa {

class VUISignatureImageRenderer {
public:
    using Stroke = std::vector<ui::CGPoint>;

    // The footnote block, in pixels: text size, line pitch, and the margin
    // it keeps from the image's left, right and bottom edges.
    static constexpr double kFontSize = 11;
    static constexpr double kLineHeight = 14;
    static constexpr double kMargin = 8;
    static constexpr double kMaxSide = 8192;
    // What the footnote block is drawn in.
    static ui::UIColor footnoteColor() { return {0.42, 0.42, 0.45, 1}; }

    struct Footnote {
        std::optional<VUIMultiLineText> text;
        std::optional<std::string> timestamp;
        std::optional<ui::UILabel::Alignment> alignment;
    };

    static std::shared_ptr<ui::UIImage> render(std::uint32_t width, std::uint32_t height, const ui::UIColor& background,
                                               const std::vector<Stroke>& strokes, const ui::UIColor& strokeColor,
                                               double strokeWidth, const Footnote& footnote,
                                               const std::optional<std::string>& fontPath);
};

}  // namespace trc::vessa
