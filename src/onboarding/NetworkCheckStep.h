#pragma once
// The onboarding step that checks the server can be reached. Interim
// version: it lets the flow go on; the real check comes with the network
// check feature, which replaces this file. Main thread.

#include "platform/flows/SimpleTaskStep.h"

namespace trc::onboarding {

class NetworkCheckStep : public flows::SimpleTaskStep {
public:
    NetworkCheckStep();
};

}  // namespace trc::onboarding
