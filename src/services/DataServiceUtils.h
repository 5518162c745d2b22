#pragma once
// Helpers of the offline data layer that onboarding uses: the key handed to
// the host for its encrypted offline store. Static; any thread.
//
// The random source is the operating system's secure generator (through
// libsodium). Tests replace it to see the failure road; a ProcessState reset
// puts the real one back. The key is a secret: never log it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace trc::services {

class DataServiceUtils {
public:
    static constexpr std::size_t kOfflineStoreKeyBytes = 32;

    // Fills the buffer with secure random bytes; false when it cannot.
    using RandomSource = std::function<bool(std::uint8_t* buffer, std::size_t size)>;

    // 32 secure random bytes in padded standard Base64 (44 characters), or
    // nothing when the random source fails.
    static std::optional<std::string> generateOfflineStoreEncryptionKey();

    // Replaces the random source; an empty function restores the real one.
    static void setRandomSource(RandomSource source);
    // The real source: libsodium's generator, false when it cannot start.
    static bool systemRandom(std::uint8_t* buffer, std::size_t size);
};

}  // namespace trc::services
