#pragma once
// An image. Nothing is drawn, so a named image (a system symbol, an icon of
// the UI framework) is only its name and size; an image read from a file
// also carries its pixels, decoded to 8-bit RGBA, so code that stores or
// compares images has the real content to work with.
//
// width()/height() count pixels; size() is in points (pixels divided by the
// scale, which a file name's "@2x"/"@3x" suffix sets). Images are immutable
// values shared as std::shared_ptr: the "with" functions return changed
// copies. System symbols are the exception that proves it: there is one
// image per symbol name and rendering mode for the process, so a cell that
// asks for its symbol on every row allocates nothing. Any thread (the
// symbols are kept under a lock).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/CGRect.h"
#include "platform/ui/UIColor.h"

namespace trc::ui {

class UIImage {
public:
    enum class RenderingMode { Automatic, AlwaysOriginal, AlwaysTemplate };

    explicit UIImage(std::string name, CGSize size = {}) : name_(std::move(name)), size_(size) {}
    static std::shared_ptr<UIImage> systemNamed(std::string_view name);
    // An image of width x height pixels, rgba holding 4 bytes a pixel, row by
    // row; none when the buffer does not hold exactly that many pixels or the
    // scale is not positive.
    static std::shared_ptr<UIImage> fromPixels(std::string name, std::uint32_t width, std::uint32_t height,
                                               std::vector<std::uint8_t> rgba, double scale = 1.0);
    // The PNG or JPEG image in the file, named by its path; none when the file
    // is missing, unreadable or holds no whole image of either kind.
    static std::shared_ptr<UIImage> contentsOfFile(const std::string& path);

    const std::string& name() const { return name_; }
    CGSize size() const { return size_; }
    std::uint32_t width() const { return width_; }
    std::uint32_t height() const { return height_; }
    double scale() const { return scale_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    // The RGBA of pixel (x, y), packed as 0xRRGGBBAA; 0 outside the image.
    std::uint32_t pixelAt(std::uint32_t x, std::uint32_t y) const;
    RenderingMode renderingMode() const { return mode_; }

    // A copy rendered the given way; the original is unchanged.
    std::shared_ptr<UIImage> withRenderingMode(RenderingMode mode) const;
    // A copy painted in one colour: every pixel takes the colour's red, green
    // and blue and keeps its own coverage (its alpha times the colour's).
    std::shared_ptr<UIImage> withTintColor(const UIColor& color) const;

private:
    std::string name_;
    CGSize size_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    double scale_ = 1;
    std::vector<std::uint8_t> pixels_;
    RenderingMode mode_ = RenderingMode::Automatic;
    bool systemSymbol_ = false;
};

}  // namespace trc::ui
