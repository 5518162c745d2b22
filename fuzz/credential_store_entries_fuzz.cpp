// Feeds arbitrary plaintext to the credential store's entry decoder the way
// it meets it: sealed under a fixed test key into a whole store file, then
// read back through the header check and the decryption. Plaintext that is
// not a list of entries must end in storeCorrupted; entries that were read
// must encode and decode to themselves.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/flows/StoreManagerError.h"
#include "platform/flows/internal/SecureStoreFormat.h"

using trc::flows::StoreManagerError;
using Format = trc::flows::internal::SecureStoreFormat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Format::Bytes headerKey(Format::kHeaderKeyBytes, 0x5a);
    static const Format::Bytes storeKey(Format::kKeyBytes, 0xa5);
    Format::Header header;
    header.salt.assign(Format::kSaltBytes, 0x11);
    header.verifier.assign(Format::kVerifierBytes, 0);
    const Format::Bytes plain(data, data + size);
    const Format::Bytes file = Format::seal(header, plain, storeKey, headerKey);
    (void)Format::readHeader(file, headerKey);
    try {
        Format::Entries entries = Format::unseal(file, storeKey);
        if (Format::decodeEntries(Format::encodeEntries(entries)) != entries) std::abort();
    } catch (const StoreManagerError& e) {
        if (e.errorCase() != StoreManagerError::Case::storeCorrupted) std::abort();
    }
    return 0;
}
