#include "platform/vessa/VUIOnboardingScanViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/QRCodeImageReader.h"

namespace trc::vessa {

const core::ClassInfo& VUIOnboardingScanViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIOnboardingScanViewController>("VUIOnboardingScanViewController",
                                                            ui::UIViewController::classInfo())
            .constructible()
            .property(
                "invalidQRCodeTitleString",
                [](const VUIOnboardingScanViewController& s) { return ui::textOrNil(s.invalidQRCodeTitleString); })
            .property(
                "invalidQRCodeMessageString",
                [](const VUIOnboardingScanViewController& s) { return ui::textOrNil(s.invalidQRCodeMessageString); })
            .property("scanConfirmationView",
                      [](const VUIOnboardingScanViewController& s) { return ui::objectOrNil(s.scanConfirmationView); })
            .property("isShowingConfirmation",
                      [](const VUIOnboardingScanViewController& s) { return core::Value(s.isShowingConfirmation()); })
            .property("lastScanAccepted",
                      [](const VUIOnboardingScanViewController& s) {
                          return s.lastScanAccepted() ? core::Value(*s.lastScanAccepted()) : core::Value();
                      })
            .build();
    return info;
}

VUIOnboardingScanViewController::VUIOnboardingScanViewController()
    : scanConfirmationView(std::make_shared<VUIOnboardingScanConfirmView>()) {}

void VUIOnboardingScanViewController::loadView() {
    UIViewController::loadView();
    if (scanConfirmationView) view()->addSubview(scanConfirmationView);
}

bool VUIOnboardingScanViewController::scanText(const std::string& text) {
    if (confirming_ || presentedViewController()) return false;
    auto d = delegate.lock();
    if (!d) return false;
    const bool accepted = d->scanViewControllerShouldValidateScanResult(*this, text);
    lastAccepted_ = accepted;
    if (accepted) {
        confirming_ = true;
        if (scanConfirmationView) scanConfirmationView->setHidden(false);
        return true;
    }
    auto alert = ui::UIAlertController::make(invalidQRCodeTitleString.value_or(kDefaultInvalidTitle),
                                             invalidQRCodeMessageString.value_or(kDefaultInvalidMessage));
    alert->addAction(ui::UIAlertAction::make(std::string(kInvalidAlertButton)));
    present(alert, true);
    return true;
}

bool VUIOnboardingScanViewController::scanImageFile(const std::filesystem::path& file, std::string& why) {
    std::optional<std::string> text = QRCodeImageReader::read(file, why);
    if (!text) return false;
    return scanText(*text);
}

bool VUIOnboardingScanViewController::confirmScan() {
    if (!confirming_ || presentedViewController()) return false;
    confirming_ = false;
    if (scanConfirmationView) scanConfirmationView->setHidden(true);
    dismiss(true);
    return true;
}

}  // namespace trc::vessa
