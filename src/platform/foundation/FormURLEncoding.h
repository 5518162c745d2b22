#pragma once
// The application/x-www-form-urlencoded text of HTML forms, as OAuth 2.0
// writes its request bodies and reads its redirect queries: a name and value
// per pair, pairs joined by '&', a space written '+', every byte but
// letters, digits and "-._~" percent-encoded. Reading turns '+' back into a
// space before removing the escapes, so "a+b" and "a%20b" read alike and
// "a%2Bb" keeps its plus.
//
// Stateless; any thread.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trc::foundation {

class FormURLEncoding {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    static std::string encode(std::string_view text);
    // None for a broken escape or bytes that are no UTF-8.
    static std::optional<std::string> decode(std::string_view text);

    // "a=1&b=2" from the pairs, in their order.
    static std::string write(const Pairs& pairs);
    // The pairs of a query or form body, in order, repeated names kept; a
    // pair without '=' has an empty value and empty pairs ("a=1&&b=2") are
    // skipped. None when any name or value does not decode.
    static std::optional<Pairs> read(std::string_view text);
    // The value of the first pair of that name.
    static std::optional<std::string> value(const Pairs& pairs, std::string_view name);
};

}  // namespace trc::foundation
