#pragma once
// Lowers the key-derivation cost of every secure store the process makes
// from now on (tests and benches use the minimum, so that a passcode check
// takes microseconds). A process-state reset puts libsodium's interactive
// limits back. Never for a host: real stores need the real cost.

#include "platform/flows/SecureKeyValueStore.h"

namespace trc::flows {

class SecureKeyValueStoreManagerSeam {
public:
    static void setKeyDerivationLimits(SecureKeyValueStore::KeyDerivationLimits limits);

    SecureKeyValueStoreManagerSeam() = delete;
};

}  // namespace trc::flows
