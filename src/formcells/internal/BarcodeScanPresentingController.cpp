#include "formcells/internal/BarcodeScanPresentingController.h"

#include "platform/core/Json.h"
#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "services/AppConfig.h"

namespace trc::formcells {

BarcodeScanPresentingController::BarcodeScanPresentingController(const std::string& loggerName)
    : logger_(flows::Logger::shared(loggerName)) {}

void BarcodeScanPresentingController::viewWillAppear(bool animated) {
    ui::UIViewController::viewWillAppear(animated);
    refreshParentController();
}

void BarcodeScanPresentingController::refreshParentController() {
    auto top = services::AppConfig::sharedInstance()->getRootViewController();
    if (!top) return;
    while (auto presented = top->presentedViewController()) top = presented;
    if (auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(top)) {
        parent_ = nav;
    } else {
        parent_ = top->navigationController();
    }
}

void BarcodeScanPresentingController::presentScanner() {
    scanner_ = vessa::VUIBarcodeScanViewController::createInstanceFromStoryboard();
    scanner_->delegate = sharedAs<BarcodeScanPresentingController>();
    scanner_->modalPresentationCapturesStatusBarAppearance = true;
    if (auto parent = parent_.lock()) parent->present(ui::UINavigationController::make(scanner_), true);
}

void BarcodeScanPresentingController::barcodeScanViewController(
    vessa::VUIBarcodeScanViewController& scanner, const std::optional<vessa::VUIBarcodeScanResult>& result) {
    const std::optional<std::string> text = result ? result->scanResultString : std::nullopt;
    logger_->info(kScanResultPrefix + describe(text));
    if (!text || text->empty()) return;
    auto parent = parent_.lock();
    if (!parent) return;
    scanner.delegate.reset();
    // Held until the scanner has closed, so the reading is not lost should the
    // subclass's owner let go of it meanwhile.
    parent->dismiss(true, [self = sharedAs<BarcodeScanPresentingController>(), value = *text] {
        self->didFinishScanning(value);
    });
}

std::string BarcodeScanPresentingController::describe(const std::optional<std::string>& text) {
    if (!text) return "nil";
    std::string out = "Optional(";
    core::Json::writeString(*text, out);
    return out + ")";
}

}  // namespace trc::formcells
