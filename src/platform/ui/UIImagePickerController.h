#pragma once
// The platform's picker of photos and camera shots, here only for what the
// application asks before it uses the camera: whether the device offers a
// source at all. Nothing is picked or shot. The availability is the
// device's; tests and the host simulator set it (stand-in entry below), and
// ProcessState resets it to a device with a camera and a photo library.
// Main thread only.

#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UIImagePickerController : public UIViewController {
    TRC_OBJECT(UIImagePickerController)
public:
    enum class SourceType { PhotoLibrary, Camera, SavedPhotosAlbum };

    static bool isSourceTypeAvailable(SourceType sourceType);

    // Stand-in entry: the device gains or loses the source.
    static void setSourceTypeAvailable(SourceType sourceType, bool available);
};

}  // namespace trc::ui
