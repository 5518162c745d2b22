#include "services/DataServiceUtils.h"

#include <sodium.h>

#include <array>

#include "platform/core/Base64.h"
#include "services/internal/OfflineKeyRandomSource.h"

namespace trc::services {

bool DataServiceUtils::systemRandom(std::uint8_t* buffer, std::size_t size) {
    if (sodium_init() < 0) return false;
    randombytes_buf(buffer, size);
    return true;
}

std::optional<std::string> DataServiceUtils::generateOfflineStoreEncryptionKey() {
    std::array<std::uint8_t, kOfflineStoreKeyBytes> key{};
    bool ok = false;
    try {
        ok = internal::OfflineKeyRandomSource::fill(key.data(), key.size());
    } catch (...) {
        ok = false;
    }
    std::optional<std::string> out;
    if (ok) out = core::Base64::encode(key.data(), key.size());
    sodium_memzero(key.data(), key.size());
    return out;
}

}  // namespace trc::services
