#include "services/DataServiceUtils.h"

#include <sodium.h>

#include <array>

#include "platform/core/Base64.h"
#include "platform/core/ProcessState.h"

namespace trc::services {

namespace {

DataServiceUtils::RandomSource& source() {
    static DataServiceUtils::RandomSource s = [] {
        core::ProcessState::registerReset("services.DataServiceUtils", [] { DataServiceUtils::setRandomSource({}); });
        return DataServiceUtils::RandomSource(DataServiceUtils::systemRandom);
    }();
    return s;
}

}  // namespace

bool DataServiceUtils::systemRandom(std::uint8_t* buffer, std::size_t size) {
    if (sodium_init() < 0) return false;
    randombytes_buf(buffer, size);
    return true;
}

void DataServiceUtils::setRandomSource(RandomSource s) { source() = s ? std::move(s) : RandomSource(systemRandom); }

std::optional<std::string> DataServiceUtils::generateOfflineStoreEncryptionKey() {
    std::array<std::uint8_t, kOfflineStoreKeyBytes> key{};
    bool ok = false;
    try {
        ok = source()(key.data(), key.size());
    } catch (...) {
        ok = false;
    }
    std::optional<std::string> out;
    if (ok) out = core::Base64::encode(key.data(), key.size());
    sodium_memzero(key.data(), key.size());
    return out;
}

}  // namespace trc::services
