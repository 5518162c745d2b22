#pragma once
// The licence agreement step of onboarding. Interim version: agreeing also
// tells the onboarding controller (so a later run in this process skips the
// agreement); the full step comes with the agreement feature, which
// replaces this file. Main thread.

#include "platform/flows/EULAStep.h"

namespace trc::onboarding {

class LaunchEULAStep : public flows::EULAStep {
public:
    explicit LaunchEULAStep(flows::EULAContent content);

    void eulaAccepted(flows::VUIEULAViewController& screen) override;
};

}  // namespace trc::onboarding
