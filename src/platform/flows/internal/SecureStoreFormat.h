#pragma once
// The bytes of an encrypted credential store file, apart from files,
// passcodes and attempt counting (SecureKeyValueStore does those).
//
// A file is: magic "TRCSKV02", mode, 3 zero bytes, retry limit (u32), the
// Argon2id ops and memory limits (u64 each), salt (16), passcode verifier
// (32), wrong attempts (u32), header checksum (32), nonce (24), then the
// entries sealed with XChaCha20-Poly1305. Numbers are little-endian. The
// header checksum is a keyed checksum (crypto_auth, HMAC-SHA-512-256) under
// the store folder's header key over everything before it, attempt count
// included, so a damaged or edited header is told from a wrong passcode
// before any passcode is tried, and the count cannot be reset unnoticed. The
// sealed entries are bound to the header up to the verifier (their
// additional data), so they cannot be moved under another header.
//
// Files of the first format ("TRCSKV01": no checksum, the count outside what
// was authenticated) are still read, marked legacy; the store writes them
// anew in this format once they are opened.
//
// Every reader throws StoreManagerError storeCorrupted for bytes that are
// not what it expects, never anything else. Stateless; any thread.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"
#include "platform/flows/SecureKeyValueStore.h"

namespace trc::flows::internal {

class SecureStoreFormat {
public:
    using Bytes = std::vector<unsigned char>;
    using Entries = std::map<std::string, core::Data>;

    static constexpr std::size_t kKeyBytes = 32;
    static constexpr std::size_t kHeaderKeyBytes = 32;
    static constexpr std::size_t kSaltBytes = 16;
    static constexpr std::size_t kVerifierBytes = 32;

    struct Header {
        SecureKeyValueStore::Mode mode = SecureKeyValueStore::Mode::noPasscode;
        std::uint32_t retryLimit = 0;
        SecureKeyValueStore::KeyDerivationLimits limits{};
        Bytes salt;
        Bytes verifier;
        std::uint32_t failedAttempts = 0;
        bool legacy = false;  // the first format, not authenticated
    };

    // Whether key derivation limits lie within what the derivation takes at
    // all: a damaged header must not make an open burn unbounded time or
    // memory.
    static bool isBounded(std::uint64_t opsLimit, std::uint64_t memLimit);
    // The header of a store file, its checksum checked with headerKey (a file
    // of the current format without a key is corrupted too).
    static Header readHeader(const Bytes& file, const std::optional<Bytes>& headerKey);
    // The same file with another wrong-attempt count (and, in the current
    // format, its checksum renewed).
    static Bytes withFailedAttempts(const Bytes& file, std::uint32_t failedAttempts,
                                    const std::optional<Bytes>& headerKey);
    // The bytes withFailedAttempts changes: the count and, in the current
    // format, the header checksum after it, 36 bytes from offset 80, inside
    // the first disk sector. Rewriting them in place stores a new count
    // without rewriting the file.
    struct Range {
        std::size_t offset;
        std::size_t length;
    };
    static Range failedAttemptsRange(const Bytes& file);
    // A whole file in the current format, no wrong attempts counted.
    static Bytes seal(const Header& header, const Entries& entries, const Bytes& key, const Bytes& headerKey);
    // The same around entries already encoded (encodeEntries) in plain.
    static Bytes seal(const Header& header, const Bytes& plain, const Bytes& key, const Bytes& headerKey);
    // The entries of a file whose header was read, opened with key.
    static Entries unseal(const Bytes& file, const Bytes& key);

    static Bytes encodeEntries(const Entries& entries);
    static Entries decodeEntries(const Bytes& plain);
};

}  // namespace trc::flows::internal
