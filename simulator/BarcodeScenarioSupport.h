#pragma once
// What the barcode scanners add to the host simulator (their classes are
// registered by the library's BarcodeScannerBridge::install): the
// step kind "camera" that sets the device's camera ({"camera":
// {"available": false, "authorization": "denied"}}), and the user actions
// "barcode" (the scanner on screen reads a text or a PNG picture of a QR
// code, or the person cancels it) and "cameraAccess" (the person answers the
// camera prompt). Main thread only.

namespace trc::simulator {

class BarcodeScenarioSupport {
public:
    // Registers the simulator extensions; harmless twice.
    static void install();
};

}  // namespace trc::simulator
