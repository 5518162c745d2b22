#pragma once
// The code scanner of the welcome screen. There is no camera here: a code
// reaches it as text (scanText) or as a picture file holding a QR code
// (scanImageFile, decoded with QRCodeImageReader). Each text goes to the
// delegate (held weakly): an accepted code shows the confirmation view
// until the person confirms (confirmScan, which closes the scanner); a
// refused one shows an alert with invalidQRCodeTitleString and
// invalidQRCodeMessageString (or the scanner's own texts when they are not
// set) and the scanner stays open for another try. While the confirmation
// or the alert is up, scans are not taken.
// Main thread only; owned by std::shared_ptr.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIOnboardingScanConfirmView.h"
#include "platform/vessa/VUIOnboardingScanViewControllerDelegate.h"

namespace trc::vessa {

class VUIOnboardingScanViewController : public ui::UIViewController {
    TRC_OBJECT(VUIOnboardingScanViewController)
public:
    static constexpr const char* kDefaultInvalidTitle = "Invalid QR Code";
    static constexpr const char* kDefaultInvalidMessage = "The scanned code cannot be used.";
    static constexpr const char* kInvalidAlertButton = "OK";

    VUIOnboardingScanViewController();

    std::weak_ptr<VUIOnboardingScanViewControllerDelegate> delegate;
    std::optional<std::string> invalidQRCodeTitleString;
    std::optional<std::string> invalidQRCodeMessageString;
    // A VUIOnboardingScanConfirmView unless replaced.
    std::shared_ptr<ui::UIView> scanConfirmationView;

    // The person holds a code up to the camera; false when the scanner does
    // not take a scan now (an accepted code awaits confirmation, an alert is
    // up, nobody validates).
    bool scanText(const std::string& text);
    // As scanText with the text of the QR code in a PNG file; false also
    // when the file holds no readable code (why tells the reason).
    bool scanImageFile(const std::filesystem::path& file, std::string& why);
    // The person confirms an accepted code; the scanner closes.
    bool confirmScan();

    bool isShowingConfirmation() const { return confirming_; }
    // What the last scan was answered: nothing before any.
    std::optional<bool> lastScanAccepted() const { return lastAccepted_; }

    void loadView() override;

private:
    bool confirming_ = false;
    std::optional<bool> lastAccepted_;
};

}  // namespace trc::vessa
