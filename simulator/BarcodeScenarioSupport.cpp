#include "simulator/BarcodeScenarioSupport.h"

#include <string>

#include "formcells/BarcodeScannerViewController.h"
#include "formcells/SimplePropertyBarcodeScanViewController.h"
#include "host/BarcodeScannerBridge.h"
#include "host/BarcodeScannerDelegate.h"
#include "platform/ui/AVCaptureDevice.h"
#include "platform/ui/UIImagePickerController.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/StepFields.h"
#include "simulator/UiScreen.h"

namespace trc::simulator {

namespace {

// Step and action members as scenarios write them.
constexpr const char* kCamera = "camera";
constexpr const char* kAvailable = "available";
constexpr const char* kAuthorization = "authorization";
constexpr const char* kText = "text";
constexpr const char* kImage = "image";
constexpr const char* kAction = "action";
constexpr const char* kCancel = "cancel";
constexpr const char* kAllow = "allow";

std::shared_ptr<vessa::VUIBarcodeScanViewController> scannerOnScreen() {
    auto top = UiScreen::screenViewController();
    auto scanner = std::dynamic_pointer_cast<vessa::VUIBarcodeScanViewController>(top);
    if (!scanner || !scanner->isOnScreen()) {
        throw ScenarioError(std::string("no barcode scanner on screen (on top: ") +
                            (top ? top->className() : "nothing") + ")");
    }
    return scanner;
}

void camera(ScenarioContext& ctx, const core::Dictionary& step) {
    core::Value raw = ctx.resolve(step.get(kCamera));
    const core::Dictionary* settings = raw.ifDictionary();
    if (!settings) throw ScenarioError("\"camera\" takes {\"available\": ..., \"authorization\": ...}");
    for (const auto& [key, value] : *settings) {
        if (key == kAvailable) {
            if (!value.ifBool()) throw ScenarioError("\"available\" must be true or false");
            ui::UIImagePickerController::setSourceTypeAvailable(ui::UIImagePickerController::SourceType::Camera,
                                                                *value.ifBool());
        } else if (key == kAuthorization) {
            const std::string* name = value.ifString();
            auto status = name ? ui::AVCaptureDevice::statusNamed(*name) : std::nullopt;
            if (!status) {
                throw ScenarioError(
                    "\"authorization\" must be \"notDetermined\", \"restricted\", \"denied\" or \"authorized\"");
            }
            ui::AVCaptureDevice::setAuthorizationStatus(ui::AVMediaType::Video, *status);
        } else {
            throw ScenarioError("\"camera\" has no member \"" + key + "\"");
        }
    }
}

void barcode(ScenarioContext& ctx, const core::Dictionary& step) {
    const int given = int(step.contains(kText)) + int(step.contains(kImage)) + int(step.contains(kAction));
    if (given != 1) throw ScenarioError("\"barcode\" takes one of \"text\", \"image\" or \"action\": \"cancel\"");
    auto scanner = scannerOnScreen();
    if (step.contains(kText)) {
        scanner->scanText(textIn(ctx, step, kText));
    } else if (step.contains(kImage)) {
        std::string why;
        if (!scanner->scanImageFile(ctx.scenarioDir() / textIn(ctx, step, kImage), why)) throw ScenarioError(why);
    } else if (textIn(ctx, step, kAction) == kCancel) {
        scanner->cancel();
    } else {
        throw ScenarioError("\"action\" must be \"cancel\"");
    }
}

void cameraAccess(ScenarioContext& ctx, const core::Dictionary& step) {
    core::Value allow = ctx.resolve(step.get(kAllow));
    if (!allow.ifBool()) throw ScenarioError("\"allow\" must be true or false");
    if (!ui::AVCaptureDevice::answerAccessRequests(*allow.ifBool())) {
        throw ScenarioError("no camera access prompt is waiting for an answer");
    }
}

}  // namespace

void BarcodeScenarioSupport::install() {
    ScenarioExtensions::addStep(kCamera, camera);
    ScenarioExtensions::addUserAction("barcode", barcode);
    ScenarioExtensions::addUserAction("cameraAccess", cameraAccess);
}

}  // namespace trc::simulator
