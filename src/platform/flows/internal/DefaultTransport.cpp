#include "platform/flows/internal/DefaultTransport.h"

#include <mutex>

#include "platform/core/ProcessState.h"
#include "platform/flows/CurlTransport.h"

namespace trc::flows::internal {

namespace {

struct Slot {
    std::mutex mutex;
    std::shared_ptr<URLTransport> injected;
};

Slot& slot() {
    static Slot& slot = []() -> Slot& {
        static Slot s;
        core::ProcessState::registerReset("flows.ZELURLSession.transport", [] {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.injected.reset();
        });
        return s;
    }();
    return slot;
}

}  // namespace

std::shared_ptr<URLTransport> DefaultTransport::current() {
    Slot& s = slot();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.injected) return s.injected;
    static const auto curl = std::make_shared<CurlTransport>();
    return curl;
}

void DefaultTransport::replace(std::shared_ptr<URLTransport> transport) {
    Slot& s = slot();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.injected = std::move(transport);
}

}  // namespace trc::flows::internal
