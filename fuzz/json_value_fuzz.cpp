// Feeds arbitrary text to the JSON-to-value reader in both styles and writes
// what it read back out. Bad input must end in a JsonError, never a crash or
// a hang; whatever was read must be writable, and the written text must read
// back as the very value read first (kinds, numbers, strings and keys alike).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::core::Json;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (Json::Style style : {Json::Style::Plain, Json::Style::Tagged}) {
        trc::core::Value value;
        try {
            value = Json::parse(text, Json::NullAs::Nil, style);
        } catch (const trc::core::JsonError&) {
            continue;
        }
        const std::string written = Json::write(value, style);
        trc::core::Value reread;
        try {
            reread = Json::parse(written, Json::NullAs::Nil, style);
        } catch (const trc::core::JsonError& e) {
            std::fprintf(stderr, "the written text does not read back (%s): %s\n", e.what(), written.c_str());
            std::abort();
        }
        if (!(reread == value)) {
            std::fprintf(stderr, "the written text reads back as another value: %s\nread back as: %s\n",
                         written.c_str(), Json::write(reread, style).c_str());
            std::abort();
        }
    }
    return 0;
}
