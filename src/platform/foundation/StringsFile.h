#pragma once
// Reads a localized strings table: the text format of `"key" = "value";`
// entries with /* block */ and // line comments between them.
//
// Quoted texts take the escapes \" \\ \' \n \t \r \a \b \f \v, octal \ooo and
// \uXXXX or \UXXXX (UTF-16 units, surrogate pairs joined). Unquoted keys and
// values of letters, digits and _$+/:.- are taken as they stand, and `"key";`
// alone maps the key to itself. Files are UTF-8 (a byte-order mark is
// skipped) or UTF-16 with a byte-order mark. A later entry for the same key
// wins.
//
// Parsing stops at the first error and reports it with its line; the entries
// read before it are kept, so one bad line does not hide a whole table.
// Stateless; any thread.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace trc::foundation {

class StringsFile {
public:
    struct Result {
        std::map<std::string, std::string, std::less<>> entries;
        std::string error;  // empty when the whole text was read
        bool ok() const { return error.empty(); }
    };

    static Result parse(std::string_view bytes);
    // A file that cannot be opened gives an error and no entries.
    static Result load(const std::filesystem::path& path);
};

}  // namespace trc::foundation
