// Feeds arbitrary text to the tagged JSON reader the user defaults are kept
// in. Bad input must end in a JsonError; whatever was read must be written
// and read back to the same value, as a relaunch reads what was persisted.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Json.h"
#include "platform/core/TaggedJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trc::core;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Value value;
    try {
        value = TaggedJson::read(text);
    } catch (const JsonError&) {
        return 0;
    }
    const std::string written = Json::write(value, Json::Style::Tagged);
    const std::string again = Json::write(TaggedJson::read(written), Json::Style::Tagged);
    if (again != written) std::abort();
    return 0;
}
