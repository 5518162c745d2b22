#pragma once
// Changes the relaunch probe's session and request timeouts for the process
// (tests keep a hanging server short); a process-state reset puts the
// defaults back. Main thread.

#include "onboarding/internal/RelaunchProbeTimeouts.h"

namespace trc::onboarding {

class RelaunchProbeSeam {
public:
    static void setTimeouts(internal::RelaunchProbeTimeouts timeouts);

    RelaunchProbeSeam() = delete;
};

}  // namespace trc::onboarding
