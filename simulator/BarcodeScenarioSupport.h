#pragma once
// What the barcode scanners add to the host boundary and the host
// simulator: their host-visible classes registered by name
// (BarcodeScannerBridge, BarcodeScannerDelegate, the two scanner
// controllers, the UI framework's scanner and the camera stand-ins), the
// step kind "camera" that sets the device's camera ({"camera":
// {"available": false, "authorization": "denied"}}), and the user actions
// "barcode" (the scanner on screen reads a text or a PNG picture of a QR
// code, or the person cancels it) and "cameraAccess" (the person answers the
// camera prompt). Main thread only.

namespace trc::host {

class BarcodeScenarioSupport {
public:
    // Registers the classes and the simulator extensions; harmless twice.
    static void install();
};

}  // namespace trc::host
