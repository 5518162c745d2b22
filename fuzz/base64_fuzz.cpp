// Feeds arbitrary text to the Base64 reader (host data values, tagged user
// defaults) and arbitrary bytes to the writer. Text that is not Base64 gives
// nothing; what was read encodes and decodes to itself, and so does any data.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::core::Base64;
    if (auto decoded = Base64::decode(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (Base64::decode(Base64::encode(*decoded)) != decoded) std::abort();
    }
    const trc::core::Data raw(data, data + size);
    if (Base64::decode(Base64::encode(raw)) != raw) std::abort();
    return 0;
}
