// Feeds arbitrary bytes to the strings-table reader (bundles' localized
// texts). Any text must give entries and perhaps an error, never a crash or
// a hang; what was read must read the same once written out again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/StringsFile.h"

namespace {

// A text as a quoted strings-table text, every byte that needs it escaped.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                                  static_cast<char>('0' + (c & 7)), 0};
            out += octal;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::foundation::StringsFile;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    StringsFile::Result result = StringsFile::parse(text);
    std::string written;
    for (const auto& [key, value] : result.entries) written += quoted(key) + " = " + quoted(value) + ";\n";
    StringsFile::Result again = StringsFile::parse(written);
    if (!again.ok() || again.entries != result.entries) std::abort();
    return 0;
}
