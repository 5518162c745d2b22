#include "host/BarcodeScannerDelegate.h"

#include "platform/core/ClassInfo.h"

namespace trc::host {

const core::ClassInfo& BarcodeScannerDelegate::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<BarcodeScannerDelegate>("BarcodeScannerDelegate", core::Object::classInfo())
            .constructible()
            .method("finishedScanningWithResults:", [](BarcodeScannerDelegate&, core::Args) { return core::Value(); })
            .method("finishedCheckingWithResults:", [](BarcodeScannerDelegate&, core::Args) { return core::Value(); })
            .method("finishedScanningWithErrors:", [](BarcodeScannerDelegate&, core::Args) { return core::Value(); })
            .method("finishedCheckingWithErrors:", [](BarcodeScannerDelegate&, core::Args) { return core::Value(); })
            .build();
    return info;
}

}  // namespace trc::host
