#pragma once
// What the signature pad asks of and tells its delegate: whether to add a
// time stamp to the image and how to write it, the footnote to draw and its
// alignment; then the finished signature image, or that the person
// cancelled. The delegate dismisses the pad. Held weakly by the pad; main
// thread only.

#include <memory>
#include <optional>

#include "platform/foundation/DateFormatter.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIMultiLineText.h"

namespace trc::vessa {

class VUISignatureCaptureController;

class VUISignatureCaptureControllerDelegate {
public:
    virtual ~VUISignatureCaptureControllerDelegate() = default;

    virtual void didFinishSigning(VUISignatureCaptureController& controller,
                                  const std::shared_ptr<ui::UIImage>& signatureImage) = 0;
    virtual void didCancelSignatureCaptureController(VUISignatureCaptureController& controller) = 0;

    virtual bool addsTimestampInImage() const { return false; }
    virtual std::shared_ptr<foundation::DateFormatter> timestampFormatter() const { return nullptr; }
    virtual std::optional<VUIMultiLineText> footnoteText() const { return std::nullopt; }
    // None: the framework's own alignment.
    virtual std::optional<ui::UILabel::Alignment> footnoteTextAlignment() const { return std::nullopt; }
};

}  // namespace trc::vessa
