#include "platform/dispatch/Timer.h"

namespace trc::dispatch {

void Timer::fire() {
    if (!valid_) return;
    if (!repeats_) valid_ = false;
    if (body_) body_(*this);
}

}  // namespace trc::dispatch
