#include "onboarding/internal/RelaunchProbeTimeouts.h"

#include "platform/core/ProcessState.h"

namespace trc::onboarding::internal {

namespace {

RelaunchProbeTimeouts& slot() {
    static RelaunchProbeTimeouts timeouts;
    return timeouts;
}

}  // namespace

RelaunchProbeTimeouts RelaunchProbeTimeouts::current() { return slot(); }

void RelaunchProbeTimeouts::set(RelaunchProbeTimeouts timeouts) {
    core::ProcessState::registerReset("onboarding.RelaunchProbe", [] { slot() = RelaunchProbeTimeouts{}; });
    slot() = timeouts;
}

}  // namespace trc::onboarding::internal
