#pragma once
// The host's own barcode scanner, outside any form: check() tells the host
// whether the camera may be used ("finishedCheckingWithResults" with true or
// false), create() opens the UI framework's full-screen scanner and the
// first non-empty reading goes to the host ("finishedScanningWithResults"
// with the text) once the scanner has closed. create() does not look at the
// camera; a host asks check() first.
//
// One shared instance for the process (sharedInstance; a ProcessState reset
// drops it). Every call replaces params and callback, so answers go to the
// callback object of the latest call, an answer to a camera prompt
// included. A callback object that does not answer the bare name is
// skipped. No errors are ever sent to the host.
//
// Main thread only. The camera prompt is answered on a queue of the
// platform's; the answer is taken to the main queue before the callback is
// read and the host told.

#include <memory>
#include <optional>
#include <string>

#include "formcells/BarcodeScanPresentingController.h"
#include "platform/core/Dictionary.h"
#include "platform/core/Object.h"

namespace trc::formcells {

class BarcodeScannerViewController : public BarcodeScanPresentingController {
    TRC_OBJECT(BarcodeScannerViewController)
public:
    using Callback = std::shared_ptr<core::Object>;

    static constexpr const char* kLoggerName = "ZEL.TRC.BarcodeScanner.BarcodeScannerViewController";
    static constexpr const char* kFinishedCheckingWithResults = "finishedCheckingWithResults";
    static constexpr const char* kFinishedScanningWithResults = "finishedScanningWithResults";
    static constexpr const char* kNoCameraAvailable = "no camera available";
    static constexpr const char* kCameraAuthorized = "use camera is authorized";
    static constexpr const char* kRequestingCameraAccess = "requesting access to camera";
    static constexpr const char* kCameraNotAuthorized = "use camera is not authorized";

    BarcodeScannerViewController();
    static std::shared_ptr<BarcodeScannerViewController> sharedInstance();

    void create(std::optional<core::Dictionary> params, Callback callback);
    void check(std::optional<core::Dictionary> params, Callback callback);

    // Of the latest create or check: the parameters are kept, never read.
    std::optional<core::Dictionary> params;
    Callback callback;

private:
    void isCameraAvailable();
    void answerCheck(bool available);
    void didFinishScanning(const std::string& text) override;
};

}  // namespace trc::formcells
