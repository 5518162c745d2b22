#pragma once
// Where the offline store's key gets its random bytes: the operating system's
// secure generator unless the test-support target replaces it
// (services::DataServiceUtilsSeam, to see the failure road). The header is
// not installed, so no host can feed the key predictable bytes. A
// process-state reset puts the real generator back. Any thread, but
// replacing races with a key being made.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace trc::services::internal {

class OfflineKeyRandomSource {
public:
    // Fills the buffer with secure random bytes; false when it cannot.
    using Source = std::function<bool(std::uint8_t* buffer, std::size_t size)>;

    // Fills the buffer from the current source; false (or a throw) when it
    // cannot.
    static bool fill(std::uint8_t* buffer, std::size_t size);
    // An empty function puts the real source back.
    static void replace(Source source);

    OfflineKeyRandomSource() = delete;
};

}  // namespace trc::services::internal
