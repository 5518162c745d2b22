#pragma once
// The encrypted store of one onboarding: bytes under keys, kept in memory
// while open and written whole to one file on every change, atomically
// (temporary file, fsync, rename), so a crash leaves the old content or the
// new, never a mix.
//
// At rest the entries are sealed with XChaCha20-Poly1305 (libsodium). With a
// passcode, the key is derived from it with Argon2id (crypto_pwhash) and a
// random salt; a verifier derived alongside tells a wrong passcode from a
// damaged file. Without a passcode, a random key sits in a key file beside
// the store (mode 0600). The header (mode, retry limit, key-derivation cost,
// salt, verifier and the count of wrong passcodes) carries a keyed checksum
// under a key kept once per folder ("StoreHeaders.key", 0600, made with the
// first store there), so a damaged or edited header is storeCorrupted at once
// and never a wrong passcode, and the count cannot be reset unnoticed. Files
// of the earlier format, whose header was not checked, are still opened and
// written anew in this one. The layout is internal/SecureStoreFormat.h. Keys
// live only in buffers that are wiped (sodium_memzero).
//
// Under a retry limit, a passcode is judged only once its attempt is counted
// where a relaunch will find it: the count sits at a fixed place of the
// header and is rewritten there in place and synced before the passcode is
// derived, which needs no new space, so a full disk still takes it. When
// even that cannot be written, the attempt is refused with storeUnavailable
// and the passcode is not judged. The right passcode sets the count back to
// none. At the limit fixed when the store was made the count on disk is the
// lock: every later open is refused before any passcode is looked at,
// whatever the process; removing the store is the owner's reset, tried again
// as long as it finds the store locked. A kill between the count and the
// verdict leaves the attempt counted.
//
// Opening or making a store removes the temporary files its interrupted
// writes left behind.
//
// Failures throw StoreManagerError: storeNotFound, wrongPasscode (with the
// attempts left), passcodeRetryLimitReached, storeCorrupted for a truncated,
// tampered or foreign file, storeUnavailable when a file cannot be read or
// written (the detail names the file, systemError() gives the errno). Files
// go through the FileLayer, so tests inject those failures. Main thread; one
// open instance per file.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/flows/DataStoring.h"

namespace trc::flows {

class SecureKeyValueStore : public DataStoring {
public:
    enum class Mode : std::uint8_t { noPasscode = 0, passcode = 1, passcodeWithBiometric = 2 };

    // Argon2id cost; the defaults are libsodium's interactive limits.
    struct KeyDerivationLimits {
        unsigned long long opsLimit;
        std::size_t memLimit;
        static KeyDerivationLimits interactive();
        static KeyDerivationLimits minimum();
    };

    struct Header {
        Mode mode;
        std::uint32_t retryLimit;
        std::uint32_t failedAttempts;
        // At the retry limit: no passcode opens the store any more.
        bool isLocked() const { return retryLimit > 0 && failedAttempts >= retryLimit; }
    };

    ~SecureKeyValueStore() override;

    // A new, empty store at path (replacing any); no passcode means a key file.
    static std::shared_ptr<SecureKeyValueStore> create(const std::filesystem::path& path,
                                                       const std::optional<std::string>& passcode, bool biometric,
                                                       std::uint32_t retryLimit, KeyDerivationLimits limits);
    // Opens the store at path; the passcode is ignored by a store without one,
    // and counted before it is judged by one with a retry limit.
    static std::shared_ptr<SecureKeyValueStore> open(const std::filesystem::path& path,
                                                     const std::optional<std::string>& passcode);
    // What the file says about itself, without opening it; nothing when there
    // is no store. Throws storeCorrupted for a file that is not a store.
    static std::optional<Header> readHeader(const std::filesystem::path& path);
    // Removes the store, its key file and a temporary file left by a crash.
    static void destroy(const std::filesystem::path& path);
    static std::filesystem::path keyFilePath(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    Mode mode() const { return mode_; }

    // Seals the entries under a new passcode (and salt); the store stays open.
    void changePasscode(const std::string& newPasscode, bool biometric);

    std::optional<core::Data> get(const std::string& key) const override;
    void put(const core::Data& data, const std::string& key) override;
    void remove(const std::string& key) override;
    std::vector<std::string> keys() const override;

private:
    SecureKeyValueStore() = default;
    void save();

    std::filesystem::path path_;
    Mode mode_ = Mode::noPasscode;
    std::uint32_t retryLimit_ = 0;
    KeyDerivationLimits limits_{};
    std::vector<unsigned char> salt_;
    std::vector<unsigned char> verifier_;
    std::vector<unsigned char> key_;
    std::vector<unsigned char> headerKey_;
    std::map<std::string, core::Data> entries_;
};

}  // namespace trc::flows
