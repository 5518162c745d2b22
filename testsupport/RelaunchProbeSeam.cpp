#include "testsupport/RelaunchProbeSeam.h"

namespace trc::onboarding {

void RelaunchProbeSeam::setTimeouts(internal::RelaunchProbeTimeouts timeouts) {
    internal::RelaunchProbeTimeouts::set(timeouts);
}

}  // namespace trc::onboarding
