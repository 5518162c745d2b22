#include "platform/flows/SecureKeyValueStore.h"

#include <sodium.h>

#include <cstring>
#include <system_error>

#include "platform/flows/StoreManagerError.h"
#include "platform/foundation/AtomicFile.h"

namespace trc::flows {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
using Case = StoreManagerError::Case;

namespace {

constexpr char kMagic[8] = {'T', 'R', 'C', 'S', 'K', 'V', '0', '1'};
constexpr std::size_t kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr std::size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::size_t kVerifierBytes = 32;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
// magic, mode, 3 reserved, retry limit, ops limit, mem limit, salt, verifier
constexpr std::size_t kAadBytes = 8 + 1 + 3 + 4 + 8 + 8 + kSaltBytes + kVerifierBytes;
constexpr std::size_t kAttemptsOffset = kAadBytes;
constexpr std::size_t kNonceOffset = kAttemptsOffset + 4;
constexpr std::size_t kCipherOffset = kNonceOffset + kNonceBytes;
constexpr char kVerifierContext[] = "secure store verifier";

[[noreturn]] void fail(Case c, std::string detail = {}, int remaining = 0) {
    throw StoreManagerError(c, std::move(detail), remaining);
}

void ensureSodium() {
    if (sodium_init() < 0) fail(Case::storeUnavailable, "The cryptography library cannot start.");
}

void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void putU64(Bytes& b, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
std::uint32_t getU32(const unsigned char* p) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}
std::uint64_t getU64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return v;
}

// A buffer that is wiped when it goes.
struct Secret {
    Bytes bytes;
    explicit Secret(std::size_t n) : bytes(n) {}
    ~Secret() { sodium_memzero(bytes.data(), bytes.size()); }
};

struct Parsed {
    SecureKeyValueStore::Mode mode;
    std::uint32_t retryLimit;
    SecureKeyValueStore::KeyDerivationLimits limits;
    Bytes salt;
    Bytes verifier;
    std::uint32_t failedAttempts;
};

Parsed parse(const Bytes& file) {
    if (file.size() < kCipherOffset + kTagBytes || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0)
        fail(Case::storeCorrupted);
    Parsed p{};
    unsigned char mode = file[8];
    if (mode > 2 || file[9] || file[10] || file[11]) fail(Case::storeCorrupted);
    p.mode = static_cast<SecureKeyValueStore::Mode>(mode);
    p.retryLimit = getU32(&file[12]);
    std::uint64_t ops = getU64(&file[16]);
    std::uint64_t mem = getU64(&file[24]);
    // A tampered header must not make the next open burn unbounded time or memory.
    if (p.mode != SecureKeyValueStore::Mode::noPasscode &&
        (ops < crypto_pwhash_OPSLIMIT_MIN || ops > crypto_pwhash_OPSLIMIT_SENSITIVE ||
         mem < crypto_pwhash_MEMLIMIT_MIN || mem > crypto_pwhash_MEMLIMIT_SENSITIVE))
        fail(Case::storeCorrupted);
    p.limits = {ops, static_cast<std::size_t>(mem)};
    p.salt.assign(file.begin() + 32, file.begin() + 32 + kSaltBytes);
    p.verifier.assign(file.begin() + 32 + kSaltBytes, file.begin() + kAadBytes);
    p.failedAttempts = getU32(&file[kAttemptsOffset]);
    return p;
}

// The store key and the verifier of a passcode.
void derive(const std::string& passcode, const Bytes& salt, const SecureKeyValueStore::KeyDerivationLimits& limits,
            Bytes& key, Bytes& verifier) {
    Secret both(kKeyBytes + kVerifierBytes);
    if (crypto_pwhash(both.bytes.data(), both.bytes.size(), passcode.data(), passcode.size(), salt.data(),
                      limits.opsLimit, limits.memLimit, crypto_pwhash_ALG_ARGON2ID13) != 0)
        fail(Case::storeUnavailable, "There is not enough memory to derive the key.");
    key.assign(both.bytes.begin(), both.bytes.begin() + kKeyBytes);
    verifier.assign(kVerifierBytes, 0);
    crypto_generichash(verifier.data(), verifier.size(), reinterpret_cast<const unsigned char*>(kVerifierContext),
                       sizeof kVerifierContext - 1, both.bytes.data() + kKeyBytes, kVerifierBytes);
}

Bytes encodeEntries(const std::map<std::string, core::Data>& entries) {
    Bytes out;
    putU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const auto& [k, v] : entries) {
        putU32(out, static_cast<std::uint32_t>(k.size()));
        out.insert(out.end(), k.begin(), k.end());
        putU32(out, static_cast<std::uint32_t>(v.size()));
        out.insert(out.end(), v.begin(), v.end());
    }
    return out;
}

std::map<std::string, core::Data> decodeEntries(const Bytes& plain) {
    std::map<std::string, core::Data> out;
    std::size_t pos = 0;
    auto take = [&](std::size_t n) {
        if (n > plain.size() - pos) fail(Case::storeCorrupted);
        std::size_t at = pos;
        pos += n;
        return at;
    };
    std::uint32_t count = getU32(&plain[take(4)]);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t klen = getU32(&plain[take(4)]);
        std::size_t k = take(klen);
        std::string key(plain.begin() + static_cast<long>(k), plain.begin() + static_cast<long>(k + klen));
        std::uint32_t vlen = getU32(&plain[take(4)]);
        std::size_t v = take(vlen);
        out[key] = core::Data(plain.begin() + static_cast<long>(v), plain.begin() + static_cast<long>(v + vlen));
    }
    if (pos != plain.size()) fail(Case::storeCorrupted);
    return out;
}

std::optional<Bytes> readFile(const fs::path& path) {
    try {
        std::error_code ec;
        std::optional<std::string> text = foundation::AtomicFile::read(path, ec);
        if (ec) fail(Case::storeUnavailable);
        if (!text) return std::nullopt;
        return Bytes(text->begin(), text->end());
    } catch (const std::system_error&) {
        fail(Case::storeUnavailable);
    }
}

void writeFile(const fs::path& path, const Bytes& bytes, const std::function<void()>& beforeReplace = {}) {
    try {
        std::error_code ec;
        const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (!foundation::AtomicFile::write(path, view, fs::perms::owner_read | fs::perms::owner_write, ec,
                                           beforeReplace)) {
            fail(Case::storeUnavailable);
        }
    } catch (const std::system_error&) {
        fail(Case::storeUnavailable);
    }
}

}  // namespace

SecureKeyValueStore::KeyDerivationLimits SecureKeyValueStore::KeyDerivationLimits::interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

SecureKeyValueStore::KeyDerivationLimits SecureKeyValueStore::KeyDerivationLimits::minimum() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

SecureKeyValueStore::~SecureKeyValueStore() { sodium_memzero(key_.data(), key_.size()); }

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
    store->salt_.assign(kSaltBytes, 0);
    randombytes_buf(store->salt_.data(), store->salt_.size());
    if (passcode) {
        store->mode_ = biometric ? Mode::passcodeWithBiometric : Mode::passcode;
        derive(*passcode, store->salt_, limits, store->key_, store->verifier_);
        std::error_code ec;
        fs::remove(keyFilePath(path), ec);
    } else {
        store->mode_ = Mode::noPasscode;
        store->verifier_.assign(kVerifierBytes, 0);
        store->key_.assign(kKeyBytes, 0);
        randombytes_buf(store->key_.data(), store->key_.size());
        writeFile(keyFilePath(path), store->key_);
    }
    store->save();
    return store;
}

std::optional<SecureKeyValueStore::Header> SecureKeyValueStore::readHeader(const fs::path& path) {
    auto file = readFile(path);
    if (!file) return std::nullopt;
    Parsed p = parse(*file);
    return Header{p.mode, p.retryLimit, p.failedAttempts};
}

std::shared_ptr<SecureKeyValueStore> SecureKeyValueStore::open(const fs::path& path,
                                                               const std::optional<std::string>& passcode) {
    ensureSodium();
    auto file = readFile(path);
    if (!file) fail(Case::storeNotFound);
    Parsed p = parse(*file);
    std::shared_ptr<SecureKeyValueStore> store(new SecureKeyValueStore());
    store->path_ = path;
    store->mode_ = p.mode;
    store->retryLimit_ = p.retryLimit;
    store->limits_ = p.limits;
    store->salt_ = p.salt;
    store->verifier_ = p.verifier;

    if (p.mode == Mode::noPasscode) {
        auto key = readFile(keyFilePath(path));
        if (!key || key->size() != kKeyBytes) fail(Case::storeCorrupted);
        store->key_ = std::move(*key);
    } else {
        bool limited = p.retryLimit > 0;
        if (limited && p.failedAttempts >= p.retryLimit) fail(Case::passcodeRetryLimitReached);
        Bytes verifier;
        if (passcode) derive(*passcode, p.salt, p.limits, store->key_, verifier);
        if (!passcode || sodium_memcmp(verifier.data(), p.verifier.data(), kVerifierBytes) != 0) {
            std::uint32_t failed = p.failedAttempts + 1;
            Bytes updated = *file;
            for (int i = 0; i < 4; ++i) updated[kAttemptsOffset + i] = static_cast<unsigned char>(failed >> (8 * i));
            writeFile(path, updated);
            if (limited && failed >= p.retryLimit) fail(Case::passcodeRetryLimitReached);
            fail(Case::wrongPasscode, {}, limited ? static_cast<int>(p.retryLimit - failed) : -1);
        }
    }

    const Bytes& f = *file;
    Secret plain(f.size() - kCipherOffset - kTagBytes);
    unsigned long long plainLength = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(plain.bytes.data(), &plainLength, nullptr, &f[kCipherOffset],
                                                   f.size() - kCipherOffset, f.data(), kAadBytes, &f[kNonceOffset],
                                                   store->key_.data()) != 0)
        fail(Case::storeCorrupted);
    plain.bytes.resize(plainLength);
    store->entries_ = decodeEntries(plain.bytes);
    if (p.failedAttempts != 0) store->save();
    return store;
}

void SecureKeyValueStore::destroy(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(keyFilePath(path), ec);
    for (const fs::path& p : {path, keyFilePath(path)}) {
        for (const fs::path& leftover : foundation::AtomicFile::leftovers(p)) fs::remove(leftover, ec);
    }
}

void SecureKeyValueStore::save() {
    Bytes out(kMagic, kMagic + sizeof kMagic);
    out.push_back(static_cast<unsigned char>(mode_));
    out.insert(out.end(), 3, 0);
    putU32(out, retryLimit_);
    putU64(out, limits_.opsLimit);
    putU64(out, limits_.memLimit);
    out.insert(out.end(), salt_.begin(), salt_.end());
    out.insert(out.end(), verifier_.begin(), verifier_.end());
    putU32(out, 0);
    unsigned char nonce[kNonceBytes];
    randombytes_buf(nonce, sizeof nonce);
    out.insert(out.end(), nonce, nonce + sizeof nonce);
    Secret plain(0);
    plain.bytes = encodeEntries(entries_);
    std::size_t at = out.size();
    out.resize(at + plain.bytes.size() + kTagBytes);
    unsigned long long sealed = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(&out[at], &sealed, plain.bytes.data(), plain.bytes.size(), out.data(),
                                               kAadBytes, nullptr, nonce, key_.data());
    out.resize(at + sealed);
    writeFile(path_, out, beforeReplaceForTesting);
}

void SecureKeyValueStore::changePasscode(const std::string& newPasscode, bool biometric) {
    Mode oldMode = mode_;
    KeyDerivationLimits oldLimits = limits_;
    Bytes oldSalt = salt_, oldVerifier = verifier_, oldKey = key_;
    try {
        mode_ = biometric ? Mode::passcodeWithBiometric : Mode::passcode;
        salt_.assign(kSaltBytes, 0);
        randombytes_buf(salt_.data(), salt_.size());
        // A store made without a passcode never had its cost checked.
        bool valid = limits_.opsLimit >= crypto_pwhash_OPSLIMIT_MIN && limits_.opsLimit <= crypto_pwhash_OPSLIMIT_SENSITIVE &&
                     limits_.memLimit >= crypto_pwhash_MEMLIMIT_MIN && limits_.memLimit <= crypto_pwhash_MEMLIMIT_SENSITIVE;
        if (!valid) limits_ = KeyDerivationLimits::interactive();
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
    fs::remove(keyFilePath(path_), ec);
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
