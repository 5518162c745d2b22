#pragma once
// The key-derivation cost every new secure store of the process gets. Only
// the test-support target lowers it (flows::SecureKeyValueStoreManagerSeam):
// the header is not installed, so no host can weaken the passcode hashing of
// the stores. A process-state reset restores libsodium's interactive limits.
// Any thread.

#include "platform/flows/SecureKeyValueStore.h"

namespace trc::flows::internal {

class KeyDerivationCost {
public:
    static SecureKeyValueStore::KeyDerivationLimits limits();
    static void set(SecureKeyValueStore::KeyDerivationLimits limits);

    KeyDerivationCost() = delete;
};

}  // namespace trc::flows::internal
