#pragma once
// Told which photo a person picked from the photo library: with the library
// asset and a file holding the photo when the application may read the
// library, else with the file alone. Main thread only.

#include <memory>

#include "platform/foundation/URL.h"
#include "platform/ui/PHAsset.h"

namespace trc::vessa {

class VUIAddPhotoAttachmentAction;

class VUIAddPhotoAttachmentActionDelegate {
public:
    virtual ~VUIAddPhotoAttachmentActionDelegate() = default;

    virtual void addPhotoAttachmentAction(VUIAddPhotoAttachmentAction& action,
                                          const std::shared_ptr<ui::PHAsset>& asset, const foundation::URL& url) = 0;
    virtual void addPhotoAttachmentAction(VUIAddPhotoAttachmentAction& action, const foundation::URL& url) = 0;
};

}  // namespace trc::vessa
