// Feeds arbitrary bytes to the secure store's reader: as the store file
// itself (first byte odd), or as the plaintext table sealed under the fixed
// test key beside it (first byte even), so the table reader behind the
// decryption is reached too. Whatever the file holds, a read ends in a value,
// nothing, or QVSecureStoreError, never a crash.

#include <sodium.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "services/SecureStoreManager.h"

namespace {

namespace fs = std::filesystem;
using trc::services::SecureStoreManager;

const unsigned char kKey[crypto_secretbox_KEYBYTES] = {7, 1, 8, 2, 8, 1, 8, 2, 8, 4, 5, 9, 0, 4, 5, 2,
                                                       3, 5, 3, 6, 0, 2, 8, 7, 4, 7, 1, 3, 5, 2, 6, 6};

// One folder for the run (tmpfs where there is one: no disk writes), kept by
// a pointer that is never freed so the exit handler can still remove it.
const fs::path& folder() {
    static const fs::path* made = [] {
        fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto* p = new fs::path(base / ("trc-secure-store-fuzz-" + std::to_string(::getpid())));
        fs::create_directories(*p);
        std::ofstream(*p / SecureStoreManager::kKeyFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(kKey), sizeof kKey);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(folder(), ec);
        });
        return p;
    }();
    return *made;
}

std::string sealed(const std::uint8_t* plain, std::size_t size) {
    std::string out("TRCSEC01");
    out.resize(out.size() + crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + size);
    auto* nonce = reinterpret_cast<unsigned char*>(out.data() + 8);
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES, plain, size, nonce, kKey);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || sodium_init() < 0) return 0;
    const std::string file =
        (data[0] & 1) ? std::string(reinterpret_cast<const char*>(data + 1), size - 1) : sealed(data + 1, size - 1);
    std::ofstream(folder() / SecureStoreManager::kStoreFileName, std::ios::binary | std::ios::trunc)
        .write(file.data(), static_cast<std::streamsize>(file.size()));
    SecureStoreManager store(folder());
    try {
        (void)store.getStringValue("ApplicationID");
    } catch (const trc::services::QVSecureStoreError&) {
    }
    return 0;
}
