#include "formcells/BarcodeScanPresentingController.h"

#include "platform/core/Json.h"
#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "services/AppConfig.h"

namespace trc::formcells {

namespace {

// Keeps the controller that opened the scanner for as long as the scanner
// is shown: a row's controller lives in its button's handler, and a row
// configured anew meanwhile (a host update) would otherwise drop it and,
// with it, the reading the person is about to make.
class ScannerNavigationController : public ui::UINavigationController {
public:
    explicit ScannerNavigationController(std::shared_ptr<BarcodeScanPresentingController> opener)
        : opener_(std::move(opener)) {}

private:
    std::shared_ptr<BarcodeScanPresentingController> opener_;
};

}  // namespace

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
    auto parent = parent_.lock();
    if (!parent) return;
    auto nav = std::make_shared<ScannerNavigationController>(sharedAs<BarcodeScanPresentingController>());
    nav->setViewControllers({scanner_}, false);
    parent->present(nav, true);
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
    parent->dismiss(
        true, [self = sharedAs<BarcodeScanPresentingController>(), value = *text] { self->didFinishScanning(value); });
}

std::string BarcodeScanPresentingController::describe(const std::optional<std::string>& text) {
    if (!text) return "nil";
    std::string out = "Optional(";
    core::Json::writeString(*text, out);
    return out + ")";
}

}  // namespace trc::formcells
