#pragma once
// The callback object the barcode scanner gets when the host passes none. It
// declares the four answers with their argument colons
// ("finishedScanningWithResults:", "finishedCheckingWithResults:",
// "finishedScanningWithErrors:", "finishedCheckingWithErrors:") and does
// nothing in them, so it answers none of the bare names the scanner sends:
// such a host hears nothing. Stateless; main thread only.

#include "platform/core/Object.h"

namespace trc::host {

class BarcodeScannerDelegate : public core::Object {
    TRC_OBJECT(BarcodeScannerDelegate)
};

}  // namespace trc::host
