#include "platform/vessa/VUIAddPhotoAttachmentAction.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/PHPhotoLibrary.h"
#include "platform/ui/UIImage.h"

namespace trc::vessa {

namespace {

bool mayReadLibrary() {
    const auto status = ui::PHPhotoLibrary::shared().authorizationStatus;
    return status == ui::PHPhotoLibrary::AuthorizationStatus::Authorized ||
           status == ui::PHPhotoLibrary::AuthorizationStatus::Limited;
}

std::shared_ptr<ui::PHAsset> libraryAsset(const std::filesystem::path& file) {
    auto& library = ui::PHPhotoLibrary::shared();
    for (const auto& asset : library.assets()) {
        if (asset->file() == file) return asset;
    }
    return library.addAsset(file, ui::PHAsset::MediaType::Image);
}

}  // namespace

const core::ClassInfo& VUIAddPhotoAttachmentAction::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIAddPhotoAttachmentAction>("VUIAddPhotoAttachmentAction", VUIAttachmentAction::classInfo())
            .constructible()
            .build();
    return info;
}

int VUIAddPhotoAttachmentAction::pickPhotos(const std::vector<std::filesystem::path>& files) {
    int told = 0;
    for (const auto& file : files) {
        // Only pictures are in a photo library.
        if (!ui::UIImage::contentsOfFile(file.string())) {
            core::SharedLoggerManager::log("ui", core::Severity::info,
                                           "photo library: " + file.string() + " is no picture");
            continue;
        }
        auto delegate = effectiveDelegate(delegate_);
        if (!delegate) continue;
        const auto url = foundation::URL::fileURLWithPath(file);
        if (mayReadLibrary()) {
            delegate->addPhotoAttachmentAction(*this, libraryAsset(file), url);
        } else {
            delegate->addPhotoAttachmentAction(*this, url);
        }
        ++told;
    }
    return told;
}

}  // namespace trc::vessa
