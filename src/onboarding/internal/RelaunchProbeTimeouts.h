#pragma once
// The timeouts of the relaunch probe's session and request. Only the
// test-support target changes them (onboarding::RelaunchProbeSeam, to keep a
// hanging server short): the header is not installed. A process-state reset
// puts the defaults back. Main thread.

#include "onboarding/RelaunchProbe.h"

namespace trc::onboarding::internal {

struct RelaunchProbeTimeouts {
    double sessionRequest = RelaunchProbe::kSessionRequestTimeout;
    double request = RelaunchProbe::kRequestTimeout;

    static RelaunchProbeTimeouts current();
    static void set(RelaunchProbeTimeouts timeouts);
};

}  // namespace trc::onboarding::internal
