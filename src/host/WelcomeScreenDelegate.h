#pragma once
// The host's default onboarding callback: what the bridge installs when the
// host gives none. Its four methods are declared with a colon
// ("setOnboardingStage:", ...) and do nothing; onboarding sends the bare
// names, which this class does not answer, so the results go nowhere.
// Registered as "WelcomeScreenDelegate". Main thread.

#include "platform/core/Object.h"

namespace trc::host {

class WelcomeScreenDelegate : public core::Object {
    TRC_OBJECT(WelcomeScreenDelegate)
};

}  // namespace trc::host
