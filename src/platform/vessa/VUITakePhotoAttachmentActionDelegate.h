#pragma once
// Told of a photo a person took with the camera: as a new library asset with
// the file it was saved to, when the application may use the library, else
// as the picture itself. A video taken is ignored unless the delegate cares.
// Main thread only.

#include <memory>

#include "platform/foundation/URL.h"
#include "platform/ui/PHAsset.h"
#include "platform/ui/UIImage.h"

namespace trc::vessa {

class VUITakePhotoAttachmentAction;

class VUITakePhotoAttachmentActionDelegate {
public:
    virtual ~VUITakePhotoAttachmentActionDelegate() = default;

    virtual void takePhotoAttachmentAction(VUITakePhotoAttachmentAction& action,
                                           const std::shared_ptr<ui::PHAsset>& asset, const foundation::URL& url) = 0;
    virtual void takePhotoAttachmentAction(VUITakePhotoAttachmentAction& action,
                                           const std::shared_ptr<ui::UIImage>& image) = 0;
    virtual void takeVideoAttachmentAction(VUITakePhotoAttachmentAction& /*action*/, const foundation::URL& /*url*/) {}
};

}  // namespace trc::vessa
