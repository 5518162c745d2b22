#include "platform/vessa/VUISignatureCaptureView.h"

#include <algorithm>
#include <cmath>

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

namespace {

std::uint8_t channel(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

class Canvas {
public:
    Canvas(std::uint32_t width, std::uint32_t height, const ui::UIColor& background)
        : width_(width), height_(height), rgba_(std::size_t{width} * height * 4) {
        for (std::size_t i = 0; i < rgba_.size(); i += 4) put(i, background);
    }

    // A filled disc: what a round pen leaves at one point.
    void disc(double cx, double cy, double radius, const ui::UIColor& color) {
        const double r = std::max(radius, 0.5);
        const auto x0 = static_cast<long>(std::floor(cx - r)), x1 = static_cast<long>(std::ceil(cx + r));
        const auto y0 = static_cast<long>(std::floor(cy - r)), y1 = static_cast<long>(std::ceil(cy + r));
        for (long y = std::max(0L, y0); y <= std::min<long>(height_ - 1L, y1); ++y) {
            for (long x = std::max(0L, x0); x <= std::min<long>(width_ - 1L, x1); ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r) put((static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)) * 4, color);
            }
        }
    }

    // The pen dragged from a to b, a disc every half pixel.
    void line(ui::CGPoint a, ui::CGPoint b, double radius, const ui::UIColor& color) {
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const int steps = std::max(1, static_cast<int>(std::ceil(length * 2)));
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            disc(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, radius, color);
        }
    }

    std::vector<std::uint8_t> take() { return std::move(rgba_); }

private:
    void put(std::size_t at, const ui::UIColor& c) {
        rgba_[at] = channel(c.red);
        rgba_[at + 1] = channel(c.green);
        rgba_[at + 2] = channel(c.blue);
        rgba_[at + 3] = channel(c.alpha);
    }

    std::uint32_t width_;
    std::uint32_t height_;
    std::vector<std::uint8_t> rgba_;
};

}  // namespace

const core::ClassInfo& VUISignatureCaptureView::classInfo() {
    using V = VUISignatureCaptureView;
    static const core::ClassInfo& info =
        core::ClassBuilder<V>("VUISignatureCaptureView", ui::UIView::classInfo())
            .constructible()
            .property("xImageView", [](const V& v) { return core::Value(v.xImageView_); })
            .property("signatureLineView", [](const V& v) { return core::Value(v.signatureLineView_); })
            .property("strokeColor", [](const V& v) { return core::Value(v.strokeColor.hexString()); })
            .property("strokeWidth", [](const V& v) { return core::Value(v.strokeWidth); })
            .property("backgroundColorHex",
                      [](const V& v) { return v.backgroundColor ? core::Value(v.backgroundColor->hexString()) : core::Value(); })
            .property("numberOfStrokes", [](const V& v) { return core::Value(static_cast<int>(v.strokes_.size())); })
            .build();
    return info;
}

VUISignatureCaptureView::VUISignatureCaptureView()
    : UIView(ui::CGRect(0, 0, kDefaultWidth, kDefaultHeight)),
      xImageView_(std::make_shared<ui::UIView>()),
      signatureLineView_(std::make_shared<ui::UIView>()) {
    addSubview(xImageView_);
    addSubview(signatureLineView_);
}

void VUISignatureCaptureView::addStroke(Stroke stroke) {
    // A finger never leaves the screen far; points that would are pinned
    // near it, and points that are no numbers dropped.
    constexpr double kReach = 1e5;
    std::erase_if(stroke, [](const ui::CGPoint& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); });
    for (auto& p : stroke) {
        p.x = std::clamp(p.x, -kReach, kReach);
        p.y = std::clamp(p.y, -kReach, kReach);
    }
    if (!stroke.empty()) strokes_.push_back(std::move(stroke));
}

std::shared_ptr<ui::UIImage> VUISignatureCaptureView::renderImage() const {
    const double w = std::floor(std::max(0.0, frame().size.width));
    const double h = std::floor(std::max(0.0, frame().size.height));
    // Beyond this the pad would be larger than any screen.
    constexpr double kMaxSide = 8192;
    if (!(w >= 1 && h >= 1) || w > kMaxSide || h > kMaxSide) return std::make_shared<ui::UIImage>("signature");
    const auto width = static_cast<std::uint32_t>(w), height = static_cast<std::uint32_t>(h);
    Canvas canvas(width, height, backgroundColor.value_or(ui::UIColor::white()));
    const double radius = std::max(strokeWidth, 0.0) / 2;
    for (const auto& stroke : strokes_) {
        if (stroke.size() == 1) canvas.disc(stroke[0].x, stroke[0].y, radius, strokeColor);
        for (std::size_t i = 1; i < stroke.size(); ++i) canvas.line(stroke[i - 1], stroke[i], radius, strokeColor);
    }
    return ui::UIImage::fromPixels("signature", width, height, canvas.take());
}

}  // namespace trc::vessa
