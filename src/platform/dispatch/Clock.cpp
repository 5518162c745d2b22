#include "platform/dispatch/Clock.h"

#include <chrono>

namespace trc::dispatch {

double SystemClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace trc::dispatch
