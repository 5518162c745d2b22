#include "testsupport/SecureKeyValueStoreManagerSeam.h"

#include "platform/flows/internal/KeyDerivationCost.h"

namespace trc::flows {

void SecureKeyValueStoreManagerSeam::setKeyDerivationLimits(SecureKeyValueStore::KeyDerivationLimits limits) {
    internal::KeyDerivationCost::set(limits);
}

}  // namespace trc::flows
