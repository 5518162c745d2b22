#include "platform/vessa/VUISignatureImageRenderer.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "platform/core/SharedLoggerManager.h"

namespace trc::vessa {

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kEllipsis = "\u2026";
constexpr double kMinStrokeWidth = 1;

struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextRelease {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

void warn(const std::string& message) {
    core::SharedLoggerManager::log("vessa", core::Severity::warn, "signature pad: " + message);
}

// The scaled font of a font file at the footnote's size, made once per file
// and kept for the process; nullptr when the file holds no usable font.
cairo_scaled_font_t* footnoteFont(const std::string& path) {
    static std::map<std::string, cairo_scaled_font_t*> fonts;
    if (auto it = fonts.find(path); it != fonts.end()) return it->second;
    cairo_scaled_font_t* font = nullptr;
    if (FcPattern* pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
        FcPatternAddInteger(pattern, FC_INDEX, 0);
        cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
        FcPatternDestroy(pattern);
        cairo_matrix_t size, identity;
        cairo_matrix_init_scale(&size, VUISignatureImageRenderer::kFontSize, VUISignatureImageRenderer::kFontSize);
        cairo_matrix_init_identity(&identity);
        cairo_font_options_t* options = cairo_font_options_create();
        font = cairo_scaled_font_create(face, &size, &identity, options);
        cairo_font_options_destroy(options);
        cairo_font_face_destroy(face);
        // A file that is no font only shows once glyphs are asked for.
        cairo_text_extents_t probe;
        cairo_scaled_font_text_extents(font, "Ag", &probe);
        if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
            cairo_scaled_font_destroy(font);
            font = nullptr;
        }
    }
    fonts[path] = font;
    return font;
}

// Text as cairo takes it: valid UTF-8 (what is not becomes U+FFFD), and
// without carriage returns.
std::string drawable(const std::string& text) {
    std::string out;
    icu::UnicodeString::fromUTF8(text).toUTF8String(out);
    std::erase(out, '\r');
    return out;
}

double widthOf(cairo_scaled_font_t* font, const std::string& text) {
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font, text.c_str(), &extents);
    return extents.x_advance;
}

// The length of the UTF-8 sequence that starts with byte c.
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

void dropLastCharacter(std::string& text) {
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((c & 0xC0) != 0x80) break;
    }
}

// A word wider than a line, cut into pieces that fit (at least one
// character each, so a very narrow image still makes progress).
Lines breakWord(cairo_scaled_font_t* font, const std::string& word, double maxWidth) {
    Lines pieces;
    std::string piece;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
        std::string next = word.substr(i, n);
        if (!piece.empty() && widthOf(font, piece + next) > maxWidth) {
            pieces.push_back(std::move(piece));
            piece.clear();
        }
        piece += next;
        i += n;
    }
    if (!piece.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

// The text in lines that fit maxWidth, breaking at blanks, each line break
// of the text starting a new line.
Lines wrap(cairo_scaled_font_t* font, const std::string& text, double maxWidth) {
    Lines lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string paragraph = text.substr(start, end - start);
        std::string line;
        std::size_t at = 0;
        while (at < paragraph.size()) {
            std::size_t next = paragraph.find(' ', at);
            if (next == std::string::npos) next = paragraph.size();
            const std::string word = paragraph.substr(at, next - at);
            at = next + 1;
            if (word.empty()) continue;
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (widthOf(font, candidate) <= maxWidth) {
                line = candidate;
                continue;
            }
            if (!line.empty()) lines.push_back(std::move(line));
            line.clear();
            Lines pieces = breakWord(font, word, maxWidth);
            line = pieces.back();
            pieces.pop_back();
            for (auto& piece : pieces) lines.push_back(std::move(piece));
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Ends the line with an ellipsis, dropping characters until both fit.
void closeWithEllipsis(cairo_scaled_font_t* font, std::string& line, double maxWidth) {
    while (!line.empty() && widthOf(font, line + kEllipsis) > maxWidth) dropLastCharacter(line);
    line += kEllipsis;
}

// Keeps at most maxLines lines; a cut closes the last kept line with an ellipsis.
void limit(cairo_scaled_font_t* font, Lines& lines, std::size_t maxLines, double maxWidth) {
    if (lines.size() <= maxLines) return;
    lines.resize(maxLines);
    if (!lines.empty()) closeWithEllipsis(font, lines.back(), maxWidth);
}

void setSource(cairo_t* cr, const ui::UIColor& c) { cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha); }

void drawFootnote(cairo_t* cr, cairo_scaled_font_t* font, const VUISignatureImageRenderer::Footnote& footnote,
                  double width, double height) {
    using R = VUISignatureImageRenderer;
    const double maxWidth = std::max(1.0, width - 2 * R::kMargin);
    const auto fitting = static_cast<std::size_t>(std::max(0.0, std::floor((height - R::kMargin) / R::kLineHeight)));
    const bool stamped = footnote.timestamp && !footnote.timestamp->empty();
    const std::size_t room = fitting > 0 && stamped ? fitting - 1 : fitting;

    Lines lines;
    if (footnote.text && !footnote.text->text.empty()) {
        lines = wrap(font, drawable(footnote.text->text), maxWidth);
        const int wanted = footnote.text->numberOfLines;
        limit(font, lines, wanted > 0 ? std::min(room, static_cast<std::size_t>(wanted)) : room, maxWidth);
    }
    if (stamped && fitting > 0) {
        std::string stamp = drawable(*footnote.timestamp);
        std::replace(stamp.begin(), stamp.end(), '\n', ' ');
        if (widthOf(font, stamp) > maxWidth) closeWithEllipsis(font, stamp, maxWidth);
        lines.push_back(std::move(stamp));
    }
    if (lines.empty()) return;

    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font, &extents);
    const double top = height - R::kMargin - static_cast<double>(lines.size()) * R::kLineHeight;
    const double baselineOffset = (R::kLineHeight + extents.ascent - extents.descent) / 2;
    cairo_set_scaled_font(cr, font);
    setSource(cr, R::footnoteColor());
    const auto alignment = footnote.alignment.value_or(ui::UILabel::Alignment::Natural);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double lineWidth = widthOf(font, lines[i]);
        double x = R::kMargin;
        if (alignment == ui::UILabel::Alignment::Center) x = (width - lineWidth) / 2;
        if (alignment == ui::UILabel::Alignment::Right) x = width - R::kMargin - lineWidth;
        cairo_move_to(cr, x, top + static_cast<double>(i) * R::kLineHeight + baselineOffset);
        cairo_show_text(cr, lines[i].c_str());
    }
}

void drawStrokes(cairo_t* cr, const std::vector<VUISignatureImageRenderer::Stroke>& strokes, const ui::UIColor& color,
                 double strokeWidth) {
    const double width = std::isfinite(strokeWidth) ? std::max(strokeWidth, kMinStrokeWidth) : kMinStrokeWidth;
    setSource(cr, color);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const auto& stroke : strokes) {
        if (stroke.empty()) continue;
        if (stroke.size() == 1) {
            cairo_new_path(cr);
            cairo_arc(cr, stroke[0].x, stroke[0].y, width / 2, 0, 2 * std::numbers::pi);
            cairo_fill(cr);
            continue;
        }
        cairo_move_to(cr, stroke[0].x, stroke[0].y);
        for (std::size_t i = 1; i < stroke.size(); ++i) cairo_line_to(cr, stroke[i].x, stroke[i].y);
        cairo_stroke(cr);
    }
}

// cairo's premultiplied native-endian ARGB, as straight RGBA bytes.
std::vector<std::uint8_t> rgbaOf(cairo_surface_t* surface, std::uint32_t width, std::uint32_t height) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface));
    std::vector<std::uint8_t> rgba(std::size_t{width} * height * 4);
    auto straight = [](std::uint32_t c, std::uint32_t a) {
        return static_cast<std::uint8_t>(a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
    };
    for (std::uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + stride * y);
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            std::uint8_t* out = &rgba[(std::size_t{y} * width + x) * 4];
            out[0] = straight((p >> 16) & 0xFF, a);
            out[1] = straight((p >> 8) & 0xFF, a);
            out[2] = straight(p & 0xFF, a);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    return rgba;
}

}  // namespace

std::shared_ptr<ui::UIImage> VUISignatureImageRenderer::render(std::uint32_t width, std::uint32_t height,
                                                               const ui::UIColor& background,
                                                               const std::vector<Stroke>& strokes,
                                                               const ui::UIColor& strokeColor, double strokeWidth,
                                                               const Footnote& footnote,
                                                               const std::optional<std::string>& fontPath) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return std::make_shared<ui::UIImage>("signature");
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        warn("no drawing surface for the signature image");
        return std::make_shared<ui::UIImage>("signature");
    }
    Context cr(cairo_create(surface.get()));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    setSource(cr.get(), background);
    cairo_paint(cr.get());
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);

    const bool hasText =
        (footnote.text && !footnote.text->text.empty()) || (footnote.timestamp && !footnote.timestamp->empty());
    if (hasText) {
        cairo_scaled_font_t* font = fontPath ? footnoteFont(*fontPath) : nullptr;
        if (font) {
            drawFootnote(cr.get(), font, footnote, width, height);
        } else {
            warn("no font to draw the time stamp and footnote with; the image carries the strokes only");
        }
    }
    drawStrokes(cr.get(), strokes, strokeColor, strokeWidth);
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        warn(std::string("drawing the signature image failed: ") + cairo_status_to_string(cairo_status(cr.get())));
    }
    cr.reset();
    return ui::UIImage::fromPixels("signature", width, height, rgbaOf(surface.get(), width, height));
}

}  // namespace trc::vessa
