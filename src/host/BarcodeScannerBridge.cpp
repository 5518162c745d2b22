#include "host/BarcodeScannerBridge.h"

#include <optional>

#include "formcells/BarcodeScannerViewController.h"
#include "formcells/SimplePropertyBarcodeScanViewController.h"
#include "host/BarcodeScannerDelegate.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/AVCaptureDevice.h"
#include "platform/ui/UIImagePickerController.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"

namespace trc::host {

namespace {

using formcells::BarcodeScannerViewController;
using Operation = void (BarcodeScannerViewController::*)(std::optional<core::Dictionary>,
                                                         BarcodeScannerViewController::Callback);

void refuse(const char* selector, const std::string& why) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                   std::string("BarcodeScannerBridge ") + selector + " " + why);
}

core::Value forward(const char* selector, core::Args a, Operation operation) {
    std::optional<core::Dictionary> params;
    if (const auto* d = a[0].ifDictionary()) {
        params = *d;
    } else if (!a[0].isNil()) {
        refuse(selector, "the parameters are no dictionary; none are kept");
    }
    auto callback = a[1].ifObject();
    if (!callback) {
        if (!a[1].isNil()) refuse(selector, "the callback is no object; the default one stands in");
        callback = std::make_shared<BarcodeScannerDelegate>();
    }
    (BarcodeScannerViewController::sharedInstance().get()->*operation)(std::move(params), std::move(callback));
    return {};
}

}  // namespace

const core::ClassInfo& BarcodeScannerBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<BarcodeScannerBridge>("BarcodeScannerBridge", core::Object::classInfo())
            .constructible()
            .method("create:callback:",
                    [](BarcodeScannerBridge&, core::Args a) {
                        return forward("create:callback:", a, &BarcodeScannerViewController::create);
                    })
            .method("check:callback:",
                    [](BarcodeScannerBridge&, core::Args a) {
                        return forward("check:callback:", a, &BarcodeScannerViewController::check);
                    })
            .build();
    return info;
}

void BarcodeScannerBridge::install() {
    classInfo();
    BarcodeScannerDelegate::classInfo();
    formcells::BarcodeScannerViewController::classInfo();
    formcells::SimplePropertyBarcodeScanViewController::classInfo();
    vessa::VUIBarcodeScanViewController::classInfo();
    ui::AVCaptureDevice::classInfo();
    ui::UIImagePickerController::classInfo();
}

}  // namespace trc::host
