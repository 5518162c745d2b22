#include "platform/vessa/VUITakePhotoAttachmentAction.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/PHPhotoLibrary.h"

namespace trc::vessa {

const core::ClassInfo& VUITakePhotoAttachmentAction::classInfo() {
    static const core::ClassInfo& info = core::ClassBuilder<VUITakePhotoAttachmentAction>(
                                             "VUITakePhotoAttachmentAction", VUIAttachmentAction::classInfo())
                                             .constructible()
                                             .property("title",
                                                       [](const VUITakePhotoAttachmentAction& a) {
                                                           return a.title ? core::Value(*a.title) : core::Value();
                                                       })
                                             .build();
    return info;
}

bool VUITakePhotoAttachmentAction::takePhoto(const std::filesystem::path& file) {
    auto image = ui::UIImage::contentsOfFile(file.string());
    if (!image) {
        core::SharedLoggerManager::log("ui", core::Severity::info, "camera: " + file.string() + " is no picture");
        return false;
    }
    auto delegate = effectiveDelegate(delegate_);
    if (!delegate) return false;
    auto& library = ui::PHPhotoLibrary::shared();
    using Status = ui::PHPhotoLibrary::AuthorizationStatus;
    if (library.authorizationStatus == Status::Authorized || library.authorizationStatus == Status::Limited) {
        auto asset = library.addAsset(file, ui::PHAsset::MediaType::Image);
        delegate->takePhotoAttachmentAction(*this, asset, foundation::URL::fileURLWithPath(file));
    } else {
        delegate->takePhotoAttachmentAction(*this, image);
    }
    return true;
}

}  // namespace trc::vessa
