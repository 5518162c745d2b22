#pragma once
// What the two barcode scanner controllers share: the host-driven one
// (BarcodeScannerViewController) and a simple-property row's
// (SimplePropertyBarcodeScanViewController). Each opens the UI framework's
// full-screen scanner in a navigation controller of its own, presented from
// the topmost navigation controller of the application, and closes it after
// the first non-empty reading; what becomes of the text is the subclass's.
//
// The scanner is detached (its delegate cleared) as soon as a non-empty
// reading is taken, before it closes: a scanner that reads again while
// closing must neither dismiss a second time (which would close whatever
// the parent presents next) nor deliver a second value. Empty readings and
// readings without text leave the scanner open.
//
// The parent is held weakly: it usually contains the very form whose button
// holds a subclass, and a gone parent reads as none. The scanner's
// navigation controller holds this controller while it is shown, so a
// reading still finds it should its owner let go of it meanwhile. The
// controller's own view is never shown. Main thread only; owned by
// std::shared_ptr.

#include <memory>
#include <optional>
#include <string>

#include "platform/flows/Logger.h"
#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIBarcodeScanViewControllerDelegate.h"

namespace trc::ui {
class UINavigationController;
}  // namespace trc::ui

namespace trc::vessa {
class VUIBarcodeScanViewController;
}  // namespace trc::vessa

namespace trc::formcells {

class BarcodeScanPresentingController : public ui::UIViewController,
                                        public vessa::VUIBarcodeScanViewControllerDelegate {
public:
    static constexpr const char* kScanResultPrefix = "scan result: ";

    std::shared_ptr<ui::UINavigationController> parentNavigationController() const { return parent_.lock(); }
    const std::shared_ptr<flows::Logger>& logger() const { return logger_; }
    // The scanner presented last; kept after it closes, until the next one.
    const std::shared_ptr<vessa::VUIBarcodeScanViewController>& barcodeScanViewControllerInstance() const {
        return scanner_;
    }

    void viewWillAppear(bool animated) override;
    void barcodeScanViewController(vessa::VUIBarcodeScanViewController& scanner,
                                   const std::optional<vessa::VUIBarcodeScanResult>& result) final;

    // How a reading shows in the log: Optional("text") with the text escaped
    // as a JSON string (a code cannot forge log lines), or nil.
    static std::string describe(const std::optional<std::string>& text);

protected:
    explicit BarcodeScanPresentingController(const std::string& loggerName);

    // Finds the parent again: the topmost controller presented over the
    // application's root when it is a navigation controller, else that
    // controller's navigation controller (possibly none). Without a root the
    // parent stays as it was.
    void refreshParentController();
    // Makes a new scanner, keeps it, and presents it in a navigation
    // controller from the parent, animated; without a parent nothing shows.
    void presentScanner();
    // The scanner has closed after reading text; runs once per scanner.
    virtual void didFinishScanning(const std::string& text) = 0;

private:
    std::weak_ptr<ui::UINavigationController> parent_;
    std::shared_ptr<flows::Logger> logger_;
    std::shared_ptr<vessa::VUIBarcodeScanViewController> scanner_;
};

}  // namespace trc::formcells
