#include "host/HostRegistry.h"

#include "simulator/AttachmentSignatureScenarioSupport.h"
#include "simulator/BarcodeScenarioSupport.h"
#include "simulator/FlowsScenarioSupport.h"
#include "host/FormCellContainerBridge.h"
#include "simulator/ListPickerScenarioSupport.h"
#include "simulator/OnboardingScenarioSupport.h"
#include "host/SectionBridge.h"
#include "host/SectionedTableBridge.h"
#include "simulator/UiScenarioSupport.h"
#include "platform/core/Block.h"
#include "platform/core/Object.h"

namespace trc::host {

void HostRegistry::registerAll() {
    static bool done = false;
    if (done) return;
    done = true;
    core::Object::classInfo();
    core::Block::classInfo();
    // Each layer adds its exposed classes and simulator extensions here, one line each.
    FlowsScenarioSupport::install();
    UiScenarioSupport::install();
    FormCellContainerBridge::install();
    SectionBridge::install();
    SectionedTableBridge::install();
    OnboardingScenarioSupport::install();
    AttachmentSignatureScenarioSupport::install();
    ListPickerScenarioSupport::install();
    BarcodeScenarioSupport::install();
}

}  // namespace trc::host
