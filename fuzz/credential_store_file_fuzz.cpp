// Feeds arbitrary bytes to the credential store's file reader, as a damaged
// or hostile store file would reach it: the header (checked with a fixed
// header key), a new wrong-attempt count, and the sealed entries (opened with
// a fixed store key). Anything that is not a store must end in
// StoreManagerError storeCorrupted; a header that was read must take a new
// count, written in place over the count's range alone, and still be read.

#include <algorithm>
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
    const Format::Bytes file(data, data + size);
    try {
        Format::Header header = Format::readHeader(file, headerKey);
        Format::Bytes counted = Format::withFailedAttempts(file, header.failedAttempts + 1, headerKey);
        if (Format::readHeader(counted, headerKey).failedAttempts != header.failedAttempts + 1) std::abort();
        // The count is stored by rewriting only its range in place: that
        // must give the very file withFailedAttempts gives.
        const Format::Range range = Format::failedAttemptsRange(file);
        Format::Bytes patched = file;
        std::copy_n(counted.begin() + static_cast<long>(range.offset), range.length,
                    patched.begin() + static_cast<long>(range.offset));
        if (patched != counted) std::abort();
        (void)Format::unseal(file, storeKey);
    } catch (const StoreManagerError& e) {
        if (e.errorCase() != StoreManagerError::Case::storeCorrupted) std::abort();
    }
    try {
        (void)Format::readHeader(file, std::nullopt);
    } catch (const StoreManagerError& e) {
        if (e.errorCase() != StoreManagerError::Case::storeCorrupted) std::abort();
    }
    return 0;
}
