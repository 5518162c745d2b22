#include "platform/foundation/FormURLEncoding.h"

#include <algorithm>

#include "platform/foundation/URL.h"

namespace trc::foundation {

std::string FormURLEncoding::encode(std::string_view text) {
    // A '%' of the text is escaped itself, so every "%20" stands for a space.
    const std::string escaped = URL::addingPercentEncoding(text, URL::AllowedCharacters::Unreserved);
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped.compare(i, 3, "%20") == 0) {
            out.push_back('+');
            i += 2;
        } else {
            out.push_back(escaped[i]);
        }
    }
    return out;
}

std::optional<std::string> FormURLEncoding::decode(std::string_view text) {
    std::string spaced(text);
    std::replace(spaced.begin(), spaced.end(), '+', ' ');
    return URL::removingPercentEncoding(spaced);
}

std::string FormURLEncoding::write(const Pairs& pairs) {
    std::string out;
    for (const auto& [name, value] : pairs) {
        if (!out.empty()) out.push_back('&');
        out += encode(name);
        out.push_back('=');
        out += encode(value);
    }
    return out;
}

std::optional<FormURLEncoding::Pairs> FormURLEncoding::read(std::string_view text) {
    Pairs pairs;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('&'), text.size());
        const std::string_view pair = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (pair.empty()) continue;
        const std::size_t equals = std::min(pair.find('='), pair.size());
        std::optional<std::string> name = decode(pair.substr(0, equals));
        std::optional<std::string> value = decode(pair.substr(std::min(equals + 1, pair.size())));
        if (!name || !value) return std::nullopt;
        pairs.emplace_back(std::move(*name), std::move(*value));
    }
    return pairs;
}

std::optional<std::string> FormURLEncoding::value(const Pairs& pairs, std::string_view name) {
    for (const auto& [n, v] : pairs)
        if (n == name) return v;
    return std::nullopt;
}

}  // namespace trc::foundation
