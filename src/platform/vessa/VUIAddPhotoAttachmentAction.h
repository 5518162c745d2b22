#pragma once
// The attachment action that adds photos from the photo library.
//
// Person entry: pickPhotos(files) picks pictures of the library, given as
// image files. When the application may read the library (authorized or
// limited), each file is (or becomes) an asset of PHPhotoLibrary and the
// delegate hears the asset form; otherwise the file form. A file that is
// no PNG or JPEG picture cannot be in the library and is refused.
//
// Owned by its attachments view controller; its delegate is held weakly.
// Main thread only.

#include <filesystem>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/vessa/VUIAddPhotoAttachmentActionDelegate.h"
#include "platform/vessa/VUIAttachmentAction.h"

namespace trc::vessa {

class VUIAddPhotoAttachmentAction : public VUIAttachmentAction {
    TRC_OBJECT(VUIAddPhotoAttachmentAction)
public:
    std::string kindName() const override { return "AddPhoto"; }

    std::shared_ptr<VUIAddPhotoAttachmentActionDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<VUIAddPhotoAttachmentActionDelegate>& d) { delegate_ = d; }
    // A delegate of a class that answers the protocol, held weakly without
    // first being made a shared one of the protocol.
    template <class Delegate>
    requires std::is_convertible_v<Delegate*, VUIAddPhotoAttachmentActionDelegate*>
    void setDelegate(const std::shared_ptr<Delegate>& d) { delegate_ = d; }

    // The number of photos the delegate heard of (nothing with no delegate).
    int pickPhotos(const std::vector<std::filesystem::path>& files);

private:
    std::weak_ptr<VUIAddPhotoAttachmentActionDelegate> delegate_;
};

}  // namespace trc::vessa
