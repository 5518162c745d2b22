#pragma once
// The attachment action that takes a photo with the camera.
//
// Person entry: takePhoto(file) takes a photo of what the camera sees,
// given as an image file. When the application may use the photo library
// (authorized or limited) the photo is saved there as a new asset and the
// delegate hears the asset form with the file; otherwise it hears the
// picture itself. A file that holds no PNG or JPEG picture is refused.
//
// Owned by its attachments view controller; its delegate is held weakly.
// Main thread only.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/vessa/VUIAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentActionDelegate.h"

namespace trc::vessa {

class VUITakePhotoAttachmentAction : public VUIAttachmentAction {
    TRC_OBJECT(VUITakePhotoAttachmentAction)
public:
    VUITakePhotoAttachmentAction() = default;
    explicit VUITakePhotoAttachmentAction(std::optional<std::string> title) : title(std::move(title)) {}

    std::string kindName() const override { return "TakePhoto"; }
    std::optional<std::string> title;

    std::shared_ptr<VUITakePhotoAttachmentActionDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<VUITakePhotoAttachmentActionDelegate>& d) { delegate_ = d; }
    // A delegate of a class that answers the protocol, held weakly without
    // first being made a shared one of the protocol.
    template <class Delegate>
    requires std::is_convertible_v<Delegate*, VUITakePhotoAttachmentActionDelegate*>
    void setDelegate(const std::shared_ptr<Delegate>& d) { delegate_ = d; }

    // False when the file holds no picture or nobody hears of the photo.
    bool takePhoto(const std::filesystem::path& file);

private:
    std::weak_ptr<VUITakePhotoAttachmentActionDelegate> delegate_;
};

}  // namespace trc::vessa
