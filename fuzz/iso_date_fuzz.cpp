// Feeds arbitrary text to the ISO-8601 date reader the host's dates and the
// tagged user defaults go through. A text that is no date gives nothing; a
// date that was read writes a text that reads back to the same text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/IsoDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::core::IsoDate;
    auto date = IsoDate::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!date) return 0;
    const std::string text = IsoDate::format(*date);
    auto again = IsoDate::parse(text);
    if (!again || IsoDate::format(*again) != text) std::abort();
    return 0;
}
