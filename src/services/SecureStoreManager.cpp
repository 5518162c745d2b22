#include "services/SecureStoreManager.h"

#include <sodium.h>

#include "platform/core/Json.h"
#include "platform/core/ProcessState.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Sandbox.h"

namespace trc::services {

namespace fs = std::filesystem;

namespace {

// The store file: this tag, the nonce, then the sealed JSON table.
constexpr std::string_view kMagic = "TRCSEC01";
constexpr fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

std::shared_ptr<SecureStoreManager>& sharedSlot() {
    static std::shared_ptr<SecureStoreManager> instance;
    return instance;
}

}  // namespace

std::shared_ptr<SecureStoreManager> SecureStoreManager::sharedInstance() {
    static std::mutex creation;
    std::lock_guard<std::mutex> lock(creation);
    auto& slot = sharedSlot();
    if (!slot) {
        core::ProcessState::registerReset("services.SecureStoreManager", [] { sharedSlot().reset(); });
        slot = std::make_shared<SecureStoreManager>(defaultFolder());
    }
    return slot;
}

fs::path SecureStoreManager::defaultFolder() { return foundation::Sandbox::root() / "Library" / "SecureStore"; }

SecureStoreManager::SecureStoreManager(fs::path folder) : folder_(std::move(folder)) {}

SecureStoreManager::~SecureStoreManager() { sodium_memzero(key_.data(), key_.size()); }

void SecureStoreManager::fail(const std::string& why) {
    throw QVSecureStoreError(QVSecureStoreError::Code::storeFailed, "secure store " + folder_.string() + ": " + why);
}

void SecureStoreManager::open() {
    if (failure_) fail(*failure_);
    if (opened_) return;
    // Damage found here is kept: the store stays refused until a relaunch,
    // so a later write cannot replace what might still be recovered.
    auto refuse = [&](const std::string& why) {
        failure_ = why;
        fail(why);
    };
    if (sodium_init() < 0) fail("the cryptography library cannot start");
    for (const char* name : {kKeyFileName, kStoreFileName}) foundation::AtomicFile::removeLeftovers(folder_ / name);

    std::error_code ec;
    std::optional<std::string> keyBytes = foundation::AtomicFile::read(folder_ / kKeyFileName, ec);
    if (ec) fail("cannot read the key file: " + ec.message());
    std::optional<std::string> store = foundation::AtomicFile::read(folder_ / kStoreFileName, ec);
    if (ec) fail("cannot read the store file: " + ec.message());

    if (keyBytes) {
        if (keyBytes->size() != key_.size()) refuse("the key file is damaged");
        std::copy(keyBytes->begin(), keyBytes->end(), key_.begin());
        sodium_memzero(keyBytes->data(), keyBytes->size());
    } else if (store) {
        refuse("the key file is missing");
    } else {
        randombytes_buf(key_.data(), key_.size());
        const std::string_view bytes(reinterpret_cast<const char*>(key_.data()), key_.size());
        if (!foundation::AtomicFile::write(folder_ / kKeyFileName, bytes, kOwnerOnly, ec)) {
            fail("cannot write the key file: " + ec.message());
        }
    }
    if (store) {
        std::string why;
        std::optional<Entries> entries = unseal(*store, why);
        if (!entries) refuse(why);
        entries_ = std::move(*entries);
    }
    opened_ = true;
}

std::string SecureStoreManager::seal(const Entries& entries) const {
    // The table is written as JSON straight into one buffer sized for the
    // worst escaping, so no copy of the plaintext is left behind in memory
    // that was given back; the buffer is wiped once it is sealed.
    std::size_t most = 2;
    for (const auto& [k, v] : entries) most += 6 * (k.size() + v.size()) + 6;
    std::string plain;
    plain.reserve(most);
    plain.push_back('{');
    for (const auto& [k, v] : entries) {
        if (plain.size() > 1) plain.push_back(',');
        core::Json::writeString(k, plain);
        plain.push_back(':');
        core::Json::writeString(v, plain);
    }
    plain.push_back('}');

    std::string out(kMagic);
    out.resize(kMagic.size() + crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plain.size());
    auto* nonce = reinterpret_cast<unsigned char*>(out.data() + kMagic.size());
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES, reinterpret_cast<const unsigned char*>(plain.data()),
                          plain.size(), nonce, key_.data());
    wipe(plain);
    return out;
}

std::optional<SecureStoreManager::Entries> SecureStoreManager::unseal(const std::string& bytes,
                                                                      std::string& why) const {
    const std::size_t header = kMagic.size() + crypto_secretbox_NONCEBYTES;
    if (bytes.size() < header + crypto_secretbox_MACBYTES ||
        std::string_view(bytes).substr(0, kMagic.size()) != kMagic) {
        why = "the store file is damaged";
        return std::nullopt;
    }
    const auto* nonce = reinterpret_cast<const unsigned char*>(bytes.data() + kMagic.size());
    const std::size_t sealedSize = bytes.size() - header;
    std::string plain(sealedSize - crypto_secretbox_MACBYTES, '\0');
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plain.data()), nonce + crypto_secretbox_NONCEBYTES,
                                   sealedSize, nonce, key_.data()) != 0) {
        why = "the store file does not match its key (damaged or tampered with)";
        return std::nullopt;
    }
    Entries entries;
    try {
        const core::Value table = core::Json::parse(plain);
        if (!table.isDictionary()) why = "the store's content is not a table";
        for (const auto& [k, v] : table.isDictionary() ? *table.ifDictionary() : core::Dictionary{}) {
            if (!v.isString()) {
                why = "the store's entry \"" + k + "\" is not a string";
                break;
            }
            entries.emplace(k, *v.ifString());
        }
    } catch (const core::JsonError& e) {
        why = std::string("the store's content is unreadable: ") + e.what();
    }
    sodium_memzero(plain.data(), plain.size());
    if (!why.empty()) return std::nullopt;
    return entries;
}

std::string SecureStoreManager::getString(const std::string& key) {
    if (std::optional<std::string> value = getStringValue(key)) return std::move(*value);
    throw QVSecureStoreError(QVSecureStoreError::Code::notFound, "nothing is stored under \"" + key + "\"");
}

std::optional<std::string> SecureStoreManager::getStringValue(const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    open();
    auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

void SecureStoreManager::putString(const std::string& value, const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    open();
    auto it = entries_.find(key);
    std::optional<std::string> previous;
    if (it != entries_.end()) previous = it->second;
    entries_[key] = value;
    std::error_code ec;
    const bool written = foundation::AtomicFile::write(folder_ / kStoreFileName, seal(entries_), kOwnerOnly, ec);
    if (!written) {
        wipe(entries_[key]);
        if (previous)
            entries_[key] = *previous;
        else
            entries_.erase(key);
    }
    if (previous) wipe(*previous);
    if (!written) fail("cannot write the store file: " + ec.message());
}

void SecureStoreManager::wipe(std::string& text) { sodium_memzero(text.data(), text.size()); }

}  // namespace trc::services
