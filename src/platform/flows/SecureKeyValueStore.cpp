#include "platform/flows/SecureKeyValueStore.h"

#include <sodium.h>

#include <algorithm>
#include <mutex>
#include <system_error>

#include "platform/core/Logging.h"
#include "platform/core/ProcessState.h"
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

// Wrong passcodes this process has counted, by store file. They count even
// when the file cannot take them (a full disk), so the limit holds for as
// long as the process runs; a relaunch starts from what the file says.
struct AttemptCounts {
    std::mutex mutex;
    std::map<std::string, std::uint32_t> byPath;
};

AttemptCounts& attemptCounts() {
    static AttemptCounts& counts = []() -> AttemptCounts& {
        static AttemptCounts c;
        core::ProcessState::registerReset("flows.SecureKeyValueStore.attempts", [] {
            std::lock_guard<std::mutex> lock(c.mutex);
            c.byPath.clear();
        });
        return c;
    }();
    return counts;
}

std::string countKey(const fs::path& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().string();
}

std::uint32_t countedInMemory(const fs::path& path) {
    AttemptCounts& c = attemptCounts();
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.byPath.find(countKey(path));
    return it == c.byPath.end() ? 0 : it->second;
}

void countInMemory(const fs::path& path, std::optional<std::uint32_t> failed) {
    AttemptCounts& c = attemptCounts();
    std::lock_guard<std::mutex> lock(c.mutex);
    if (failed)
        c.byPath[countKey(path)] = *failed;
    else
        c.byPath.erase(countKey(path));
}

// The store layer's view of a file: nothing when it is not there,
// storeUnavailable (naming the file and the errno) when it cannot be read.
std::optional<Bytes> readFile(const fs::path& path) {
    std::error_code ec;
    std::optional<std::string> text = foundation::AtomicFile::read(path, ec);
    if (ec) throw StoreManagerError(Case::storeUnavailable, "Cannot read " + path.string() + ": " + ec.message() + ".", ec);
    if (!text) return std::nullopt;
    Bytes bytes(text->begin(), text->end());
    sodium_memzero(text->data(), text->size());
    return bytes;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::error_code ec;
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!foundation::AtomicFile::write(path, view, foundation::AtomicFile::kOwnerOnly, ec))
        throw StoreManagerError(Case::storeUnavailable, "Cannot write " + path.string() + ": " + ec.message() + ".", ec);
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

// At the retry limit the store locks: the count at the limit is written. A
// lock that cannot be written would be gone at the next launch, so then the
// store is wiped instead; a delete needs no free space.
void lockOrWipe(const fs::path& path, const Bytes& file, std::uint32_t failed, const std::optional<Bytes>& key) {
    try {
        writeFile(path, Format::withFailedAttempts(file, failed, key));
        return;
    } catch (const StoreManagerError& e) {
        core::Logging::log(kLogger, "error",
                           "the retry limit was reached but the lock cannot be written (" + e.description() +
                               "); wiping the store");
    }
    SecureKeyValueStore::destroy(path);
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
    countInMemory(path, std::nullopt);
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

    if (h.mode == Mode::noPasscode) {
        auto key = readFile(keyFilePath(path));
        if (!key || key->size() != Format::kKeyBytes) fail(Case::storeCorrupted, "Its key file is missing or damaged.");
        store->key_ = std::move(*key);
    } else {
        const bool limited = h.retryLimit > 0;
        const std::uint32_t counted = std::max(h.failedAttempts, countedInMemory(path));
        if (limited && counted >= h.retryLimit) {
            // Locked for this process though the file may not say so.
            if (h.failedAttempts < h.retryLimit) lockOrWipe(path, *file, counted, checkKey);
            fail(Case::passcodeRetryLimitReached);
        }
        Bytes verifier;
        if (passcode) derive(*passcode, h.salt, h.limits, store->key_, verifier);
        if (!passcode || sodium_memcmp(verifier.data(), h.verifier.data(), Format::kVerifierBytes) != 0) {
            const std::uint32_t failed = counted + 1;
            countInMemory(path, failed);
            if (limited && failed >= h.retryLimit) {
                lockOrWipe(path, *file, failed, checkKey);
                fail(Case::passcodeRetryLimitReached);
            }
            try {
                writeFile(path, Format::withFailedAttempts(*file, failed, checkKey));
            } catch (const StoreManagerError& e) {
                core::Logging::log(kLogger, "error",
                                   "a wrong passcode is counted for this run only (" + e.description() + ")");
            }
            fail(Case::wrongPasscode, {}, limited ? static_cast<int>(h.retryLimit - failed) : -1);
        }
    }

    store->entries_ = Format::unseal(*file, store->key_);
    countInMemory(path, std::nullopt);
    if (h.failedAttempts != 0 || h.legacy) {
        // Clears the count and writes a file of the first format anew with
        // its header checked. Opening does not hang on this: a store that can
        // be read is opened, and the count stays as the file has it.
        try {
            store->save();
        } catch (const StoreManagerError& e) {
            core::Logging::log(kLogger, "warn", "cannot rewrite the store after opening it: " + e.description());
        }
    }
    return store;
}

void SecureKeyValueStore::destroy(const fs::path& path) {
    std::error_code ec;
    for (const fs::path& p : {path, keyFilePath(path)}) {
        if (!foundation::AtomicFile::remove(p, ec))
            core::Logging::log(kLogger, "error", "cannot remove " + p.string() + ": " + ec.message());
        for (const fs::path& leftover : foundation::AtomicFile::leftovers(p)) foundation::AtomicFile::remove(leftover, ec);
    }
    countInMemory(path, std::nullopt);
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
