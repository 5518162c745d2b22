#include "platform/flows/internal/SecureStoreFormat.h"

#include <sodium.h>

#include <cstring>

#include "platform/flows/StoreManagerError.h"

namespace trc::flows::internal {

namespace {

using Bytes = SecureStoreFormat::Bytes;
using Case = StoreManagerError::Case;

constexpr char kMagic[8] = {'T', 'R', 'C', 'S', 'K', 'V', '0', '2'};
constexpr char kLegacyMagic[8] = {'T', 'R', 'C', 'S', 'K', 'V', '0', '1'};
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::size_t kChecksumBytes = crypto_auth_BYTES;
// magic, mode, 3 reserved, retry limit, ops limit, mem limit, salt, verifier:
// what the sealed entries are bound to, in both formats.
constexpr std::size_t kBoundBytes =
    8 + 1 + 3 + 4 + 8 + 8 + SecureStoreFormat::kSaltBytes + SecureStoreFormat::kVerifierBytes;
constexpr std::size_t kAttemptsOffset = kBoundBytes;
constexpr std::size_t kChecksumOffset = kAttemptsOffset + 4;

static_assert(SecureStoreFormat::kKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(SecureStoreFormat::kHeaderKeyBytes == crypto_auth_KEYBYTES);
static_assert(SecureStoreFormat::kSaltBytes == crypto_pwhash_SALTBYTES);

[[noreturn]] void corrupted(const char* detail = "") { throw StoreManagerError(Case::storeCorrupted, detail); }

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
    ~Secret() { sodium_memzero(bytes.data(), bytes.size()); }
};

// Where the parts of a file are; checks its magic and least size.
struct Layout {
    bool legacy;
    std::size_t nonce;
    std::size_t sealed;
};

Layout layoutOf(const Bytes& file) {
    if (file.size() < sizeof kMagic) corrupted();
    Layout l{};
    if (std::memcmp(file.data(), kMagic, sizeof kMagic) == 0)
        l.legacy = false;
    else if (std::memcmp(file.data(), kLegacyMagic, sizeof kLegacyMagic) == 0)
        l.legacy = true;
    else
        corrupted();
    l.nonce = l.legacy ? kAttemptsOffset + 4 : kChecksumOffset + kChecksumBytes;
    l.sealed = l.nonce + kNonceBytes;
    if (file.size() < l.sealed + kTagBytes) corrupted();
    return l;
}

void checkHeaderKey(const std::optional<Bytes>& headerKey) {
    if (!headerKey || headerKey->size() != SecureStoreFormat::kHeaderKeyBytes)
        corrupted("The key that checks the store headers of its folder is missing or damaged.");
}

void sign(Bytes& file, const Bytes& headerKey) {
    crypto_auth(&file[kChecksumOffset], file.data(), kChecksumOffset, headerKey.data());
}

}  // namespace

bool SecureStoreFormat::isBounded(std::uint64_t opsLimit, std::uint64_t memLimit) {
    return opsLimit >= crypto_pwhash_OPSLIMIT_MIN && opsLimit <= crypto_pwhash_OPSLIMIT_SENSITIVE &&
           memLimit >= crypto_pwhash_MEMLIMIT_MIN && memLimit <= crypto_pwhash_MEMLIMIT_SENSITIVE;
}

SecureStoreFormat::Header SecureStoreFormat::readHeader(const Bytes& file, const std::optional<Bytes>& headerKey) {
    const Layout layout = layoutOf(file);
    if (!layout.legacy) {
        checkHeaderKey(headerKey);
        if (crypto_auth_verify(&file[kChecksumOffset], file.data(), kChecksumOffset, headerKey->data()) != 0)
            corrupted("Its header does not match its checksum.");
    }
    Header h;
    h.legacy = layout.legacy;
    const unsigned char mode = file[8];
    if (mode > 2 || file[9] || file[10] || file[11]) corrupted();
    h.mode = static_cast<SecureKeyValueStore::Mode>(mode);
    h.retryLimit = getU32(&file[12]);
    const std::uint64_t ops = getU64(&file[16]);
    const std::uint64_t mem = getU64(&file[24]);
    if (h.mode != SecureKeyValueStore::Mode::noPasscode && !isBounded(ops, mem)) corrupted();
    h.limits = {ops, static_cast<std::size_t>(mem)};
    h.salt.assign(file.begin() + 32, file.begin() + 32 + kSaltBytes);
    h.verifier.assign(file.begin() + 32 + kSaltBytes, file.begin() + kBoundBytes);
    h.failedAttempts = getU32(&file[kAttemptsOffset]);
    return h;
}

Bytes SecureStoreFormat::withFailedAttempts(const Bytes& file, std::uint32_t failedAttempts,
                                            const std::optional<Bytes>& headerKey) {
    const Layout layout = layoutOf(file);
    Bytes updated = file;
    for (int i = 0; i < 4; ++i) updated[kAttemptsOffset + i] = static_cast<unsigned char>(failedAttempts >> (8 * i));
    if (!layout.legacy) {
        checkHeaderKey(headerKey);
        sign(updated, *headerKey);
    }
    return updated;
}

SecureStoreFormat::Range SecureStoreFormat::failedAttemptsRange(const Bytes& file) {
    return {kAttemptsOffset, layoutOf(file).legacy ? 4 : 4 + kChecksumBytes};
}

Bytes SecureStoreFormat::seal(const Header& header, const Entries& entries, const Bytes& key, const Bytes& headerKey) {
    Secret plain{encodeEntries(entries)};
    return seal(header, plain.bytes, key, headerKey);
}

Bytes SecureStoreFormat::seal(const Header& header, const Bytes& plain, const Bytes& key, const Bytes& headerKey) {
    Bytes out(kMagic, kMagic + sizeof kMagic);
    out.push_back(static_cast<unsigned char>(header.mode));
    out.insert(out.end(), 3, 0);
    putU32(out, header.retryLimit);
    putU64(out, header.limits.opsLimit);
    putU64(out, header.limits.memLimit);
    out.insert(out.end(), header.salt.begin(), header.salt.end());
    out.insert(out.end(), header.verifier.begin(), header.verifier.end());
    if (out.size() != kBoundBytes || key.size() != kKeyBytes || headerKey.size() != kHeaderKeyBytes)
        throw StoreManagerError(Case::storeUnavailable, "A store key has the wrong size.");
    putU32(out, 0);
    out.resize(kChecksumOffset + kChecksumBytes);
    sign(out, headerKey);
    unsigned char nonce[kNonceBytes];
    randombytes_buf(nonce, sizeof nonce);
    out.insert(out.end(), nonce, nonce + sizeof nonce);

    const std::size_t at = out.size();
    out.resize(at + plain.size() + kTagBytes);
    unsigned long long sealedLength = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(&out[at], &sealedLength, plain.data(), plain.size(), out.data(),
                                               kBoundBytes, nullptr, nonce, key.data());
    out.resize(at + sealedLength);
    return out;
}

SecureStoreFormat::Entries SecureStoreFormat::unseal(const Bytes& file, const Bytes& key) {
    const Layout layout = layoutOf(file);
    if (key.size() != kKeyBytes) corrupted();
    Secret plain{Bytes(file.size() - layout.sealed - kTagBytes)};
    unsigned long long plainLength = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(plain.bytes.data(), &plainLength, nullptr, &file[layout.sealed],
                                                   file.size() - layout.sealed, file.data(), kBoundBytes,
                                                   &file[layout.nonce], key.data()) != 0)
        corrupted();
    plain.bytes.resize(plainLength);
    return decodeEntries(plain.bytes);
}

Bytes SecureStoreFormat::encodeEntries(const Entries& entries) {
    // Sized once: a buffer that grew would leave copies of the entries behind
    // in memory nobody wipes.
    std::size_t size = 4;
    for (const auto& [k, v] : entries) size += 8 + k.size() + v.size();
    Bytes out;
    out.reserve(size);
    putU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const auto& [k, v] : entries) {
        putU32(out, static_cast<std::uint32_t>(k.size()));
        out.insert(out.end(), k.begin(), k.end());
        putU32(out, static_cast<std::uint32_t>(v.size()));
        out.insert(out.end(), v.begin(), v.end());
    }
    return out;
}

SecureStoreFormat::Entries SecureStoreFormat::decodeEntries(const Bytes& plain) {
    Entries out;
    std::size_t pos = 0;
    auto take = [&](std::size_t n) {
        if (n > plain.size() - pos) corrupted();
        std::size_t at = pos;
        pos += n;
        return at;
    };
    const std::uint32_t count = getU32(&plain[take(4)]);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t klen = getU32(&plain[take(4)]);
        const std::size_t k = take(klen);
        std::string key(plain.begin() + static_cast<long>(k), plain.begin() + static_cast<long>(k + klen));
        const std::uint32_t vlen = getU32(&plain[take(4)]);
        const std::size_t v = take(vlen);
        // A key twice is a file this code never wrote.
        if (!out.emplace(std::move(key),
                         core::Data(plain.begin() + static_cast<long>(v), plain.begin() + static_cast<long>(v + vlen)))
                 .second)
            corrupted();
    }
    if (pos != plain.size()) corrupted();
    return out;
}

}  // namespace trc::flows::internal
