#pragma once
// The host's entry to its own barcode scanner: "check:callback:" asks
// whether the camera may be used, "create:callback:" opens the scanner; both
// hand the parameter dictionary and the callback object to
// BarcodeScannerViewController's shared instance and return nothing. A
// missing callback object becomes a new BarcodeScannerDelegate.
//
// Arguments of the wrong kind are logged under "ZEL.TRC" and count as
// missing: parameters that are no dictionary are kept as none, a callback
// that is no object is replaced as a missing one is. Nothing is thrown to
// the host. Stateless; main thread only.

#include "platform/core/Object.h"

namespace trc::host {

class BarcodeScannerBridge : public core::Object {
    TRC_OBJECT(BarcodeScannerBridge)
public:
    // Makes the bridge, its default callback, the scanners and the camera
    // stand-ins known by name.
    static void install();
};

}  // namespace trc::host
