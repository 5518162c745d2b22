#pragma once
// The secure key-value store of strings (for example the onboarded
// application's "ApplicationID"), opened or created on first use of
// sharedInstance().
//
// There is no device keychain on this platform, so the store stands in for
// one: the whole key-value table is encrypted with libsodium's secretbox
// (XSalsa20-Poly1305) under a fresh random nonce on every write and kept in
// one file under the sandbox root, written atomically (the plaintext table is
// wiped from memory once sealed); the 32-byte master key
// is a file beside it readable only by its owner (mode 0600). Anyone who can
// read the sandbox as that user can read the store: it protects against
// other users and against copies of the store file alone, not more. Opening
// it removes the temporary files of writes a kill interrupted.
//
// A damaged, truncated or tampered store, or a key file that is missing
// while a store exists, makes every call throw QVSecureStoreError
// (storeFailed); nothing is overwritten, so nothing more is lost. Calls are
// serialised by a lock; the main thread is the usual caller. A ProcessState
// reset drops the shared instance; the files stay, as across a relaunch.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "services/QVSecureStoreError.h"

namespace trc::services {

class SecureStoreManager {
public:
    static constexpr const char* kStoreFileName = "SecureStore.bin";
    static constexpr const char* kKeyFileName = "SecureStore.key";

    // The store in the sandbox's folder for it (Library/SecureStore).
    static std::shared_ptr<SecureStoreManager> sharedInstance();
    static std::filesystem::path defaultFolder();

    // A store kept in folder (made when missing).
    explicit SecureStoreManager(std::filesystem::path folder);
    ~SecureStoreManager();
    SecureStoreManager(const SecureStoreManager&) = delete;
    SecureStoreManager& operator=(const SecureStoreManager&) = delete;

    // The string under key; throws QVSecureStoreError: notFound when nothing
    // is stored there, storeFailed when the store fails.
    std::string getString(const std::string& key);
    // The string under key or nothing; throws QVSecureStoreError (storeFailed)
    // only when the store fails.
    std::optional<std::string> getStringValue(const std::string& key);
    // Stores value under key, durably before returning; throws
    // QVSecureStoreError (storeFailed) when it cannot, leaving the store as it was.
    void putString(const std::string& value, const std::string& key);

private:
    using Entries = std::map<std::string, std::string, std::less<>>;

    // Loads key and entries on first use; throws storeFailed.
    void open();
    [[noreturn]] void fail(const std::string& why);
    std::string seal(const Entries& entries) const;
    static void wipe(std::string& text);
    // The table sealed in bytes, or nothing with why set.
    std::optional<Entries> unseal(const std::string& bytes, std::string& why) const;

    std::filesystem::path folder_;
    std::mutex mutex_;
    bool opened_ = false;
    std::optional<std::string> failure_;  // why the store is unusable, once known
    std::array<std::uint8_t, 32> key_{};
    Entries entries_;
};

}  // namespace trc::services
