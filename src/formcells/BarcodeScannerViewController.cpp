#include "formcells/BarcodeScannerViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/AVCaptureDevice.h"
#include "platform/ui/UIImagePickerController.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"

namespace trc::formcells {

namespace {

std::shared_ptr<BarcodeScannerViewController>& sharedSlot() {
    static std::shared_ptr<BarcodeScannerViewController> instance;
    return instance;
}

void sendIfAnswered(const BarcodeScannerViewController::Callback& callback, const char* selector,
                    const core::Value& argument) {
    if (callback && callback->respondsToSelector(selector)) callback->perform(selector, argument);
}

}  // namespace

const core::ClassInfo& BarcodeScannerViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<BarcodeScannerViewController>("BarcodeScannerViewController",
                                                         ui::UIViewController::classInfo())
            .classMethod("sharedInstance", [](core::Args) { return core::Value(sharedInstance()); })
            .property(
                "params",
                [](const BarcodeScannerViewController& c) { return c.params ? core::Value(*c.params) : core::Value(); })
            .property("callback", [](const BarcodeScannerViewController& c) { return ui::objectOrNil(c.callback); })
            .property(
                "_parentNavigationController",
                [](const BarcodeScannerViewController& c) { return ui::objectOrNil(c.parentNavigationController()); })
            .property("barcodeScanViewControllerInstance",
                      [](const BarcodeScannerViewController& c) {
                          return ui::objectOrNil(c.barcodeScanViewControllerInstance());
                      })
            .build();
    return info;
}

BarcodeScannerViewController::BarcodeScannerViewController() : BarcodeScanPresentingController(kLoggerName) {}

std::shared_ptr<BarcodeScannerViewController> BarcodeScannerViewController::sharedInstance() {
    auto& slot = sharedSlot();
    if (!slot) {
        slot = std::make_shared<BarcodeScannerViewController>();
        core::ProcessState::registerReset("BarcodeScannerViewController", [] { sharedSlot().reset(); });
    }
    return slot;
}

void BarcodeScannerViewController::create(std::optional<core::Dictionary> newParams, Callback newCallback) {
    params = std::move(newParams);
    callback = std::move(newCallback);
    refreshParentController();
    presentScanner();
}

void BarcodeScannerViewController::check(std::optional<core::Dictionary> newParams, Callback newCallback) {
    params = std::move(newParams);
    callback = std::move(newCallback);
    isCameraAvailable();
}

void BarcodeScannerViewController::isCameraAvailable() {
    if (!ui::UIImagePickerController::isSourceTypeAvailable(ui::UIImagePickerController::SourceType::Camera)) {
        logger()->debug(kNoCameraAvailable);
        answerCheck(false);
        return;
    }
    switch (ui::AVCaptureDevice::authorizationStatus(ui::AVMediaType::Video)) {
    case ui::AVAuthorizationStatus::Authorized:
        logger()->debug(kCameraAuthorized);
        answerCheck(true);
        return;
    case ui::AVAuthorizationStatus::NotDetermined: {
        logger()->debug(kRequestingCameraAccess);
        std::weak_ptr<BarcodeScannerViewController> weakSelf = sharedAs<BarcodeScannerViewController>();
        ui::AVCaptureDevice::requestAccess(ui::AVMediaType::Video, [weakSelf](bool granted) {
            dispatch::MainQueue::shared().async([weakSelf, granted] {
                if (auto self = weakSelf.lock()) self->answerCheck(granted);
            });
        });
        return;
    }
    case ui::AVAuthorizationStatus::Denied:
    case ui::AVAuthorizationStatus::Restricted:
        logger()->debug(kCameraNotAuthorized);
        answerCheck(false);
        return;
    }
}

void BarcodeScannerViewController::answerCheck(bool available) {
    sendIfAnswered(callback, kFinishedCheckingWithResults, core::Value(available));
}

void BarcodeScannerViewController::didFinishScanning(const std::string& text) {
    sendIfAnswered(callback, kFinishedScanningWithResults, core::Value(text));
}

}  // namespace trc::formcells
