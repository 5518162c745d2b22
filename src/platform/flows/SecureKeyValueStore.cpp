#include "platform/flows/SecureKeyValueStore.h"

#include <sodium.h>

#include <limits>
#include <system_error>

#include "platform/core/SharedLoggerManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/internal/SecureStoreFormat.h"
#include "platform/foundation/AtomicFile.h"

namespace trc::flows {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
using Case = StoreManagerError::Case;
using Format = internal::SecureStoreFormat;

namespace {

constexpr const char* kLogger = "SecureKeyValueStore";
constexpr const char* kHeaderKeyFileName = "StoreHeaders.key";
constexpr char kVerifierContext[] = "secure store verifier";

[[noreturn]] void fail(Case c, std::string detail = {}, int remaining = 0) {
    throw StoreManagerError(c, std::move(detail), remaining);
}

void ensureSodium() {
    if (sodium_init() < 0) fail(Case::storeUnavailable, "The cryptography library cannot start.");
}

// A buffer that is wiped when it goes.
struct Secret {
    Bytes bytes;
    explicit Secret(std::size_t n) : bytes(n) {}
    ~Secret() { sodium_memzero(bytes.data(), bytes.size()); }
};

// The store layer's view of a file: nothing when it is not there,
// storeUnavailable (naming the file and the errno) when it cannot be read.
std::optional<Bytes> readFile(const fs::path& path) {
    std::error_code ec;
    std::optional<std::string> text = foundation::AtomicFile::read(path, ec);
    if (ec)
        throw StoreManagerError(Case::storeUnavailable, "Cannot read " + path.string() + ": " + ec.message() + ".", ec);
    if (!text) return std::nullopt;
    Bytes bytes(text->begin(), text->end());
    sodium_memzero(text->data(), text->size());
    return bytes;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::error_code ec;
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!foundation::AtomicFile::write(path, view, foundation::AtomicFile::kOwnerOnly, ec))
        throw StoreManagerError(Case::storeUnavailable, "Cannot write " + path.string() + ": " + ec.message() + ".",
                                ec);
}

fs::path headerKeyPath(const fs::path& storePath) { return storePath.parent_path() / kHeaderKeyFileName; }

// The key that checks the headers of the stores in a folder; made when a
// store is made in a folder without one.
std::optional<Bytes> headerKey(const fs::path& storePath, bool make) {
    const fs::path path = headerKeyPath(storePath);
    std::optional<Bytes> key = readFile(path);
    if (key || !make) return key;
    Bytes made(Format::kHeaderKeyBytes);
    randombytes_buf(made.data(), made.size());
    writeFile(path, made);
    return made;
}

// The store key and the verifier of a passcode.
void derive(const std::string& passcode, const Bytes& salt, const SecureKeyValueStore::KeyDerivationLimits& limits,
            Bytes& key, Bytes& verifier) {
    Secret both(Format::kKeyBytes + Format::kVerifierBytes);
    if (crypto_pwhash(both.bytes.data(), both.bytes.size(), passcode.data(), passcode.size(), salt.data(),
                      limits.opsLimit, limits.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0)
        fail(Case::storeUnavailable, "There is not enough memory to derive the key.");
    key.assign(both.bytes.begin(), both.bytes.begin() + Format::kKeyBytes);
    verifier.assign(Format::kVerifierBytes, 0);
    crypto_generichash(verifier.data(), verifier.size(), reinterpret_cast<const unsigned char*>(kVerifierContext),
                       sizeof kVerifierContext - 1, both.bytes.data() + Format::kKeyBytes, Format::kVerifierBytes);
}

// Makes count the file's wrong-attempt count where a relaunch finds it: its
// bytes (and the header checksum over them) are rewritten in place and
// synced, which needs no new space, so a full disk takes it. file becomes
// what the disk holds. storeUnavailable when it cannot be written.
void writeCount(const fs::path& path, Bytes& file, std::uint32_t count, const std::optional<Bytes>& headerKey) {
    Bytes updated = Format::withFailedAttempts(file, count, headerKey);
    const Format::Range range = Format::failedAttemptsRange(updated);
    auto counted = [&range](const Bytes& b) {
        return std::string_view(reinterpret_cast<const char*>(b.data()) + range.offset, range.length);
    };
    std::error_code ec;
    if (!foundation::AtomicFile::overwrite(path, range.offset, counted(updated), ec)) {
        // Nothing is judged on a count that may not be on disk, so the count
        // as it was goes back (as far as it can): a passing fault (a flush
        // that failed after the write) costs no attempt.
        std::error_code ignored;
        foundation::AtomicFile::overwrite(path, range.offset, counted(file), ignored);
        throw StoreManagerError(Case::storeUnavailable,
                                "Cannot count a passcode attempt in " + path.string() + ": " + ec.message() + ".", ec);
    }
    file = std::move(updated);
}

// Temporary files of the store's own writes that a kill left behind: each a
// sealed copy of the store or a key, never to be read.
void removeLeftovers(const fs::path& path) {
    for (const fs::path& p : {path, SecureKeyValueStore::keyFilePath(path), headerKeyPath(path)})
        foundation::AtomicFile::removeLeftovers(p);
}

}  // namespace

SecureKeyValueStore::KeyDerivationLimits SecureKeyValueStore::KeyDerivationLimits::interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

SecureKeyValueStore::KeyDerivationLimits SecureKeyValueStore::KeyDerivationLimits::minimum() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

SecureKeyValueStore::~SecureKeyValueStore() {
    sodium_memzero(key_.data(), key_.size());
    sodium_memzero(headerKey_.data(), headerKey_.size());
}

fs::path SecureKeyValueStore::keyFilePath(const fs::path& path) {
    fs::path p = path;
    p += ".key";
    return p;
}

std::shared_ptr<SecureKeyValueStore> SecureKeyValueStore::create(const fs::path& path,
                                                                 const std::optional<std::string>& passcode,
                                                                 bool biometric, std::uint32_t retryLimit,
                                                                 KeyDerivationLimits limits) {
    ensureSodium();
    removeLeftovers(path);
    std::shared_ptr<SecureKeyValueStore> store(new SecureKeyValueStore());
    store->path_ = path;
    store->retryLimit_ = retryLimit;
    store->limits_ = limits;
    store->headerKey_ = *headerKey(path, true);
    store->salt_.assign(Format::kSaltBytes, 0);
    randombytes_buf(store->salt_.data(), store->salt_.size());
    if (passcode) {
        store->mode_ = biometric ? Mode::passcodeWithBiometric : Mode::passcode;
        derive(*passcode, store->salt_, limits, store->key_, store->verifier_);
        std::error_code ec;
        foundation::AtomicFile::remove(keyFilePath(path), ec);
    } else {
        store->mode_ = Mode::noPasscode;
        store->verifier_.assign(Format::kVerifierBytes, 0);
        store->key_.assign(Format::kKeyBytes, 0);
        randombytes_buf(store->key_.data(), store->key_.size());
        writeFile(keyFilePath(path), store->key_);
    }
    store->save();
    return store;
}

std::optional<SecureKeyValueStore::Header> SecureKeyValueStore::readHeader(const fs::path& path) {
    ensureSodium();
    auto file = readFile(path);
    if (!file) return std::nullopt;
    Format::Header h = Format::readHeader(*file, headerKey(path, false));
    return Header{h.mode, h.retryLimit, h.failedAttempts};
}

std::shared_ptr<SecureKeyValueStore> SecureKeyValueStore::open(const fs::path& path,
                                                               const std::optional<std::string>& passcode) {
    ensureSodium();
    auto file = readFile(path);
    if (!file) fail(Case::storeNotFound);
    removeLeftovers(path);
    const std::optional<Bytes> checkKey = headerKey(path, false);
    const Format::Header h = Format::readHeader(*file, checkKey);
    std::shared_ptr<SecureKeyValueStore> store(new SecureKeyValueStore());
    store->path_ = path;
    store->mode_ = h.mode;
    store->retryLimit_ = h.retryLimit;
    store->limits_ = h.limits;
    store->salt_ = h.salt;
    store->verifier_ = h.verifier;
    if (checkKey) store->headerKey_ = *checkKey;

    std::uint32_t counted = h.failedAttempts;
    if (h.mode == Mode::noPasscode) {
        auto key = readFile(keyFilePath(path));
        if (!key || key->size() != Format::kKeyBytes) fail(Case::storeCorrupted, "Its key file is missing or damaged.");
        store->key_ = std::move(*key);
    } else {
        const bool limited = h.retryLimit > 0;
        if (limited && h.failedAttempts >= h.retryLimit) fail(Case::passcodeRetryLimitReached);
        const std::uint32_t failed =
            h.failedAttempts == std::numeric_limits<std::uint32_t>::max() ? h.failedAttempts : h.failedAttempts + 1;
        // Under a limit the attempt is counted on disk before the passcode is
        // judged, so no kill, relaunch or full disk takes it back; one that
        // cannot be counted is not judged (writeCount throws).
        if (limited) writeCount(path, *file, counted = failed, checkKey);
        Bytes verifier;
        if (passcode) derive(*passcode, h.salt, h.limits, store->key_, verifier);
        if (!passcode || sodium_memcmp(verifier.data(), h.verifier.data(), Format::kVerifierBytes) != 0) {
            if (limited && failed >= h.retryLimit) fail(Case::passcodeRetryLimitReached);
            if (!limited) {
                // Without a limit the count only informs: it need not hold.
                try {
                    writeCount(path, *file, failed, checkKey);
                } catch (const StoreManagerError& e) {
                    core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                                   "a wrong passcode is not counted (" + e.description() + ")");
                }
            }
            fail(Case::wrongPasscode, {}, limited ? static_cast<int>(h.retryLimit - failed) : -1);
        }
    }

    store->entries_ = Format::unseal(*file, store->key_);
    // The right passcode starts the count again, and a file of the first
    // format is written anew with its header checked. Opening does not hang
    // on either: a store that can be read is opened, the count staying as
    // the disk has it until a later write.
    try {
        if (counted != 0) writeCount(path, *file, 0, checkKey);
        if (h.legacy) store->save();
    } catch (const StoreManagerError& e) {
        core::SharedLoggerManager::log(kLogger, core::Severity::warn,
                                       "cannot rewrite the store after opening it: " + e.description());
    }
    return store;
}

void SecureKeyValueStore::destroy(const fs::path& path) {
    std::error_code ec;
    for (const fs::path& p : {path, keyFilePath(path)}) {
        if (!foundation::AtomicFile::remove(p, ec))
            core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                           "cannot remove " + p.string() + ": " + ec.message());
        foundation::AtomicFile::removeLeftovers(p);
    }
}

void SecureKeyValueStore::save() {
    if (headerKey_.empty()) headerKey_ = *headerKey(path_, true);
    Format::Header h;
    h.mode = mode_;
    h.retryLimit = retryLimit_;
    h.limits = limits_;
    h.salt = salt_;
    h.verifier = verifier_;
    writeFile(path_, Format::seal(h, entries_, key_, headerKey_));
}

void SecureKeyValueStore::changePasscode(const std::string& newPasscode, bool biometric) {
    Mode oldMode = mode_;
    KeyDerivationLimits oldLimits = limits_;
    Bytes oldSalt = salt_, oldVerifier = verifier_, oldKey = key_;
    try {
        mode_ = biometric ? Mode::passcodeWithBiometric : Mode::passcode;
        salt_.assign(Format::kSaltBytes, 0);
        randombytes_buf(salt_.data(), salt_.size());
        // A store made without a passcode never had its cost checked.
        if (!Format::isBounded(limits_.opsLimit, limits_.memLimit)) limits_ = KeyDerivationLimits::interactive();
        derive(newPasscode, salt_, limits_, key_, verifier_);
        save();
    } catch (...) {
        mode_ = oldMode;
        limits_ = oldLimits;
        salt_ = oldSalt;
        verifier_ = oldVerifier;
        key_ = oldKey;
        sodium_memzero(oldKey.data(), oldKey.size());
        throw;
    }
    sodium_memzero(oldKey.data(), oldKey.size());
    std::error_code ec;
    foundation::AtomicFile::remove(keyFilePath(path_), ec);
}

std::optional<core::Data> SecureKeyValueStore::get(const std::string& key) const {
    auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

void SecureKeyValueStore::put(const core::Data& data, const std::string& key) {
    auto old = entries_.find(key);
    std::optional<core::Data> previous;
    if (old != entries_.end()) previous = old->second;
    entries_[key] = data;
    try {
        save();
    } catch (...) {
        if (previous)
            entries_[key] = *previous;
        else
            entries_.erase(key);
        throw;
    }
}

void SecureKeyValueStore::remove(const std::string& key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return;
    core::Data previous = it->second;
    entries_.erase(it);
    try {
        save();
    } catch (...) {
        entries_[key] = previous;
        throw;
    }
}

std::vector<std::string> SecureKeyValueStore::keys() const {
    std::vector<std::string> out;
    for (const auto& [k, v] : entries_) out.push_back(k);
    return out;
}

}  // namespace trc::flows
