#include "simulator/SimulatorRegistry.h"

#include "host/HostRegistry.h"
#include "simulator/AttachmentSignatureScenarioSupport.h"
#include "simulator/BarcodeScenarioSupport.h"
#include "simulator/FlowsScenarioSupport.h"
#include "simulator/ListPickerScenarioSupport.h"
#include "simulator/OnboardingScenarioSupport.h"
#include "simulator/UiScenarioSupport.h"

namespace trc::simulator {

void SimulatorRegistry::installAll() {
    static bool done = false;
    if (done) return;
    done = true;
    host::HostRegistry::registerAll();
    // Each layer adds its simulator entries here, one line each.
    FlowsScenarioSupport::install();
    UiScenarioSupport::install();
    OnboardingScenarioSupport::install();
    AttachmentSignatureScenarioSupport::install();
    ListPickerScenarioSupport::install();
    BarcodeScenarioSupport::install();
}

}  // namespace trc::simulator
