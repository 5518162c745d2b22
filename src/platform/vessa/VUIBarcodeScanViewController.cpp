#include "platform/vessa/VUIBarcodeScanViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/QRCodeImageReader.h"

namespace trc::vessa {

const core::ClassInfo& VUIBarcodeScanViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIBarcodeScanViewController>("VUIBarcodeScanViewController",
                                                         ui::UIViewController::classInfo())
            .constructible()
            .property("modalPresentationCapturesStatusBarAppearance",
                      [](const VUIBarcodeScanViewController& s) {
                          return core::Value(s.modalPresentationCapturesStatusBarAppearance);
                      })
            .property("delegate",
                      [](const VUIBarcodeScanViewController& s) {
                          return ui::objectOrNil(std::dynamic_pointer_cast<core::Object>(s.delegate.lock()));
                      })
            .property("isOnScreen", [](const VUIBarcodeScanViewController& s) { return core::Value(s.isOnScreen()); })
            .build();
    return info;
}

std::shared_ptr<VUIBarcodeScanViewController> VUIBarcodeScanViewController::createInstanceFromStoryboard() {
    return std::make_shared<VUIBarcodeScanViewController>();
}

bool VUIBarcodeScanViewController::isOnScreen() const { return presentingViewController() != nullptr; }

bool VUIBarcodeScanViewController::scanText(const std::string& text) {
    if (!isOnScreen()) return false;
    deliverScanResult(VUIBarcodeScanResult(text));
    return true;
}

bool VUIBarcodeScanViewController::scanImageFile(const std::filesystem::path& file, std::string& why) {
    if (!isOnScreen()) {
        why = "the barcode scanner is not on screen";
        return false;
    }
    std::optional<std::string> text = QRCodeImageReader::read(file, why);
    if (!text) return false;
    return scanText(*text);
}

bool VUIBarcodeScanViewController::cancel() {
    if (!isOnScreen()) return false;
    dismiss(true);
    return true;
}

void VUIBarcodeScanViewController::deliverScanResult(const std::optional<VUIBarcodeScanResult>& result) {
    // Held for the call: the delegate may let go of this scanner while it hears it.
    auto self = sharedAs<VUIBarcodeScanViewController>();
    if (auto d = delegate.lock()) d->barcodeScanViewController(*self, result);
}

}  // namespace trc::vessa
