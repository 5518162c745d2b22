#pragma once
// The UI framework's full-screen barcode scanner. There is no camera here: a
// code reaches it as text (scanText) or as a PNG picture of a QR code
// (scanImageFile, read with QRCodeImageReader), as a person holding a code
// up to the camera would give it. Every reading goes to the delegate (held
// weakly), which decides when the scanner closes; the person may also close
// it with the scanner's own cancel control, which tells nobody.
//
// The person's entries act only while the scanner is on screen (presented,
// itself or its navigation controller); deliverScanResult is the camera's
// own road and always delivers. Make it with createInstanceFromStoryboard();
// owned by std::shared_ptr. Main thread only.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIBarcodeScanResult.h"
#include "platform/vessa/VUIBarcodeScanViewControllerDelegate.h"

namespace trc::vessa {

class VUIBarcodeScanViewController : public ui::UIViewController {
    TRC_OBJECT(VUIBarcodeScanViewController)
public:
    static std::shared_ptr<VUIBarcodeScanViewController> createInstanceFromStoryboard();

    std::weak_ptr<VUIBarcodeScanViewControllerDelegate> delegate;
    bool modalPresentationCapturesStatusBarAppearance = false;

    // The person holds up a code that reads as text (an empty text included);
    // false when the scanner is not on screen.
    bool scanText(const std::string& text);
    // As scanText with the QR code of a PNG picture; false also when the
    // picture holds no readable code (why says what went wrong; nothing is
    // delivered then, as a camera that sees no code reports nothing).
    bool scanImageFile(const std::filesystem::path& file, std::string& why);
    // The person closes the scanner with its own control; false when it is
    // not on screen.
    bool cancel();

    void deliverScanResult(const std::optional<VUIBarcodeScanResult>& result);
    bool isOnScreen() const;
};

}  // namespace trc::vessa
