#pragma once
// Helpers of the offline data layer that onboarding uses: the key handed to
// the host for its encrypted offline store. Static; any thread.
//
// The random source is the operating system's secure generator (through
// libsodium). The key is a secret: never log it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace trc::services {

class DataServiceUtils {
public:
    static constexpr std::size_t kOfflineStoreKeyBytes = 32;

    // 32 secure random bytes in padded standard Base64 (44 characters), or
    // nothing when the random source fails.
    static std::optional<std::string> generateOfflineStoreEncryptionKey();

    // The real source: libsodium's generator, false when it cannot start.
    static bool systemRandom(std::uint8_t* buffer, std::size_t size);
};

}  // namespace trc::services
