#pragma once
// The UI framework's signature pad: a screen with a drawing surface
// (signatureCaptureView) on which a person signs, then finishes or cancels.
// Finishing renders the signature image and hands it to the delegate;
// cancelling tells the delegate. The delegate dismisses the pad.
//
// Person entries: draw(strokes) adds strokes; finish() is refused (false)
// while nothing is drawn, as the pad's done button is; cancel(). When it
// finishes, the pad asks the delegate for the time stamp and footnote the
// image carries, draws them at the bottom of the image under the strokes,
// and keeps what it drew them as (imageTimestampText,
// imageFootnote) for checks.
//
// Made by createInstance() for each use; the delegate is held weakly. Main
// thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUISignatureCaptureControllerDelegate.h"
#include "platform/vessa/VUISignatureCaptureView.h"

namespace trc::vessa {

class VUISignatureCaptureController : public ui::UIViewController {
    TRC_OBJECT(VUISignatureCaptureController)
public:
    static std::shared_ptr<VUISignatureCaptureController> createInstance();

    const std::shared_ptr<VUISignatureCaptureView>& signatureCaptureView() const { return signatureView_; }
    std::shared_ptr<VUISignatureCaptureControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<VUISignatureCaptureControllerDelegate>& d) { delegate_ = d; }

    void draw(const std::vector<VUISignatureCaptureView::Stroke>& strokes);
    bool finish();
    void cancel();

    // What the last finished image carries besides the strokes; the time stamp
    // is written with the delegate's formatter at the time of finishing.
    const std::optional<std::string>& imageTimestampText() const { return timestampText_; }
    const std::optional<VUIMultiLineText>& imageFootnote() const { return footnote_; }

    // The moment a finished signature is stamped with; the system's time unless replaced.
    static std::function<core::Date()> now;

    void loadView() override;

private:
    std::shared_ptr<VUISignatureCaptureView> signatureView_ = std::make_shared<VUISignatureCaptureView>();
    std::weak_ptr<VUISignatureCaptureControllerDelegate> delegate_;
    std::optional<std::string> timestampText_;
    std::optional<VUIMultiLineText> footnote_;
};

}  // namespace trc::vessa
