#pragma once
// The drawing surface of the signature pad: the strokes a person drew, the
// colours and width they are drawn with, and two guides shown while signing
// (an X mark where to start and a line to sign on), which are not part of
// the signature image.
//
// renderImage() paints the strokes (round-capped lines of strokeWidth in
// strokeColor) over the background (white when none is set) and the
// footnote block at the bottom (footnote text and time stamp), into an
// image of the view's size in points, one pixel a point; a view of no size
// gives an image without pixels. Owned by its controller; main thread only.

#include <memory>
#include <vector>

#include "platform/ui/CGRect.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/VUISignatureImageRenderer.h"

namespace trc::vessa {

class VUISignatureCaptureView : public ui::UIView {
    TRC_OBJECT(VUISignatureCaptureView)
public:
    using Stroke = std::vector<ui::CGPoint>;
    static constexpr double kDefaultWidth = 320;
    static constexpr double kDefaultHeight = 160;
    static constexpr double kDefaultStrokeWidth = 2;

    VUISignatureCaptureView();

    ui::UIColor strokeColor = ui::UIColor::black();
    double strokeWidth = kDefaultStrokeWidth;
    const std::shared_ptr<ui::UIView>& xImageView() const { return xImageView_; }
    const std::shared_ptr<ui::UIView>& signatureLineView() const { return signatureLineView_; }

    // A stroke without points draws nothing and is not kept.
    void addStroke(Stroke stroke);
    const std::vector<Stroke>& strokes() const { return strokes_; }
    bool hasSignature() const { return !strokes_.empty(); }
    void clear() { strokes_.clear(); }

    std::shared_ptr<ui::UIImage> renderImage(const VUISignatureImageRenderer::Footnote& footnote = {}) const;

private:
    std::shared_ptr<ui::UIView> xImageView_;
    std::shared_ptr<ui::UIView> signatureLineView_;
    std::vector<Stroke> strokes_;
};

}  // namespace trc::vessa
