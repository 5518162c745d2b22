#include "host/HostRegistry.h"

#include "host/FlowsScenarioSupport.h"
#include "host/OnboardingScenarioSupport.h"
#include "host/FormCellContainerBridge.h"
#include "host/ListPickerScenarioSupport.h"
#include "host/OnboardingScenarioSupport.h"
#include "host/SectionBridge.h"
#include "host/SectionedTableBridge.h"
#include "host/UiScenarioSupport.h"
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
    ListPickerScenarioSupport::install();
}

}  // namespace trc::host
