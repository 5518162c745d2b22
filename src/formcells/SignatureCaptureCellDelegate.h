#pragma once
// The signature pad's delegate for one opening from a signature row: it
// answers what the pad draws into the image (time stamp, footnote) and,
// when the person finishes, stores the signature as the row's "Value"
// ({"contentType": "images/png", "content": PNG data}), shows the captured
// status text on the row and tells the row's host callback object; a cancel
// only closes the pad.
//
// The row is found again by its "_Name" when the pad finishes, so rows
// hidden or shown meanwhile never make the signature land in another row;
// a named row that is no longer shown keeps nothing (logged). The signature
// is stored and reported whether or not the row is on screen, and also for
// a form cell section that has lost its page; only the status text needs
// the row's cell.
//
// Made by the row's tap handler and kept alive only by FormCellFactory's
// statics (the newest opening from a full-screen form or from a section).
// Holds its owner and the host callback object weakly: a finish after the
// form is gone changes nothing. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "formcells/FormCellKeys.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/ui/IndexPath.h"
#include "platform/vessa/VUISignatureCaptureControllerDelegate.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

class FormCellContainerViewController;
class FormCellSection;

class SignatureCaptureCellDelegate : public vessa::VUISignatureCaptureControllerDelegate,
                                     public std::enable_shared_from_this<SignatureCaptureCellDelegate> {
public:
    using Delegate = std::shared_ptr<core::Object>;

    // What the row stores and the host receives.
    static constexpr const char* kValue = FormCellKeys::kValue;
    static constexpr const char* kContentType = "contentType";
    static constexpr const char* kContent = "content";
    static constexpr const char* kSignatureContentType = "images/png";
    // The row's status text once signed: the row's own, else the framework's.
    static constexpr const char* kCapturedStatusText = "CapturedStatusText";
    static constexpr const char* kStringsTable = "FormCell";
    static constexpr const char* kSignatureCapturedKey = "SignatureCaptured";
    static constexpr const char* kSignatureCapturedFallback = "None";

    SignatureCaptureCellDelegate(bool isTimestampInImage, std::shared_ptr<foundation::DateFormatter> formmater,
                                 std::optional<vessa::VUIMultiLineText> signatureText, const ui::IndexPath& indexPath,
                                 const std::shared_ptr<FormCellContainerViewController>& formCellContainer,
                                 const Delegate& delegate, std::string capturedText);
    SignatureCaptureCellDelegate(bool isTimestampInImage, std::shared_ptr<foundation::DateFormatter> formmater,
                                 std::optional<vessa::VUIMultiLineText> signatureText, const ui::IndexPath& indexPath,
                                 const std::shared_ptr<FormCellSection>& formCellSection, const Delegate& delegate,
                                 std::string capturedText);

    // The row's "CapturedStatusText" (read in place, valid until params
    // changes), else the framework's text for a captured signature.
    static services::ParameterHelper::Text capturedStatusText(const core::Dictionary& params);

    // The "_Name" of the row the pad was opened from, when it has one.
    std::optional<std::string> cellName;

    void didFinishSigning(vessa::VUISignatureCaptureController& controller,
                          const std::shared_ptr<ui::UIImage>& signatureImage) override;
    void didCancelSignatureCaptureController(vessa::VUISignatureCaptureController& controller) override;
    bool addsTimestampInImage() const override { return isTimestampInImage_; }
    std::shared_ptr<foundation::DateFormatter> timestampFormatter() const override { return formmatter_; }
    std::optional<vessa::VUIMultiLineText> footnoteText() const override { return signatureText_; }
    std::optional<ui::UILabel::Alignment> footnoteTextAlignment() const override { return footnoteTextAlignment_; }

    const ui::IndexPath& indexPath() const { return indexPath_; }
    const std::string& capturedText() const { return capturedText_; }

private:
    void store(const std::shared_ptr<ui::UIImage>& signatureImage);

    std::optional<ui::UILabel::Alignment> footnoteTextAlignment_;
    bool isTimestampInImage_;
    std::shared_ptr<foundation::DateFormatter> formmatter_;
    std::optional<vessa::VUIMultiLineText> signatureText_;
    ui::IndexPath indexPath_;
    std::weak_ptr<FormCellContainerViewController> formCellContainer_;
    std::weak_ptr<FormCellSection> formCellSection_;
    std::weak_ptr<core::Object> delegate_;
    std::string capturedText_;
};

}  // namespace trc::formcells
