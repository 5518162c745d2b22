#include "platform/ui/UIImagePickerController.h"

#include <set>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"

namespace trc::ui {

namespace {

using SourceType = UIImagePickerController::SourceType;

std::set<SourceType> deviceSources() {
    return {SourceType::PhotoLibrary, SourceType::Camera, SourceType::SavedPhotosAlbum};
}

std::set<SourceType>& availableSources() {
    static std::set<SourceType> sources = deviceSources();
    static const bool registered = [] {
        core::ProcessState::registerReset("UIImagePickerController", [] { availableSources() = deviceSources(); });
        return true;
    }();
    (void)registered;
    return sources;
}

}  // namespace

const core::ClassInfo& UIImagePickerController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIImagePickerController>("UIImagePickerController", UIViewController::classInfo())
            .classProperty("isCameraAvailable", [] { return core::Value(isSourceTypeAvailable(SourceType::Camera)); })
            .build();
    return info;
}

bool UIImagePickerController::isSourceTypeAvailable(SourceType sourceType) {
    return availableSources().contains(sourceType);
}

void UIImagePickerController::setSourceTypeAvailable(SourceType sourceType, bool available) {
    if (available) {
        availableSources().insert(sourceType);
    } else {
        availableSources().erase(sourceType);
    }
}

}  // namespace trc::ui
