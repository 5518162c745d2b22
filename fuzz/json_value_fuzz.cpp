// Feeds arbitrary text to the JSON-to-value reader in both styles and writes
// what it read back out. Bad input must end in a JsonError, never a crash or
// a hang, and whatever was read must be writable.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::core::Json;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (Json::Style style : {Json::Style::Plain, Json::Style::Tagged}) {
        try {
            trc::core::Value value = Json::parse(text, Json::NullAs::Nil, style);
            std::string written = Json::write(value, style);
            (void)Json::parse(written, Json::NullAs::Nil, style);
        } catch (const trc::core::JsonError&) {
        }
    }
    return 0;
}
