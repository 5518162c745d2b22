#include "platform/vessa/VUISignatureCaptureView.h"

#include <algorithm>
#include <cmath>

#include "platform/core/ClassInfo.h"
#include "platform/ui/FontFile.h"

namespace trc::vessa {

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
                      [](const V& v) {
                          return v.backgroundColor ? core::Value(v.backgroundColor->hexString()) : core::Value();
                      })
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

std::shared_ptr<ui::UIImage> VUISignatureCaptureView::renderImage(
    const VUISignatureImageRenderer::Footnote& footnote) const {
    const double w = std::floor(std::max(0.0, frame().size.width));
    const double h = std::floor(std::max(0.0, frame().size.height));
    if (!(w >= 1 && h >= 1) || w > VUISignatureImageRenderer::kMaxSide || h > VUISignatureImageRenderer::kMaxSide) {
        return std::make_shared<ui::UIImage>("signature");
    }
    return VUISignatureImageRenderer::render(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h),
                                             backgroundColor.value_or(ui::UIColor::white()), strokes_, strokeColor,
                                             strokeWidth, footnote, ui::FontFile::sansSerif());
}

}  // namespace trc::vessa
