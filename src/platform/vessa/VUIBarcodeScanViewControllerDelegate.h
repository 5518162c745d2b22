#pragma once
// Hears what the UI framework's barcode scanner reads. The scanner holds its
// delegate weakly and never closes itself on a result: closing is the
// delegate's call. Main thread.

#include <optional>

#include "platform/vessa/VUIBarcodeScanResult.h"

namespace trc::vessa {

class VUIBarcodeScanViewController;

class VUIBarcodeScanViewControllerDelegate {
public:
    virtual ~VUIBarcodeScanViewControllerDelegate() = default;

    // result is none when the scanner saw something it could not read.
    virtual void barcodeScanViewController(VUIBarcodeScanViewController& scanner,
                                           const std::optional<VUIBarcodeScanResult>& result) = 0;
};

}  // namespace trc::vessa
