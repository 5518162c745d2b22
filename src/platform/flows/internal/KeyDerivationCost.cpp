#include "platform/flows/internal/KeyDerivationCost.h"

#include <mutex>

#include "platform/core/ProcessState.h"

namespace trc::flows::internal {

namespace {

struct Slot {
    std::mutex mutex;
    SecureKeyValueStore::KeyDerivationLimits value = SecureKeyValueStore::KeyDerivationLimits::interactive();
};

Slot& slot() {
    static Slot& l = []() -> Slot& {
        static Slot s;
        core::ProcessState::registerReset("flows.SecureKeyValueStoreManager.limits", [] {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.value = SecureKeyValueStore::KeyDerivationLimits::interactive();
        });
        return s;
    }();
    return l;
}

}  // namespace

SecureKeyValueStore::KeyDerivationLimits KeyDerivationCost::limits() {
    std::lock_guard<std::mutex> lock(slot().mutex);
    return slot().value;
}

void KeyDerivationCost::set(SecureKeyValueStore::KeyDerivationLimits value) {
    std::lock_guard<std::mutex> lock(slot().mutex);
    slot().value = value;
}

}  // namespace trc::flows::internal
