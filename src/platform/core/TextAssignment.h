#pragma once
// Setting a text in the room it already has. A cell is given its new row's
// texts on every scroll step; assigned this way, a text that fits the
// capacity the old one left takes no allocation. Nothing (std::nullopt)
// empties an optional text.

#include <optional>
#include <string>
#include <string_view>

namespace trc::core {

// A text no longer than the old one is copied over it in place: the
// library's assign takes the general road of replacing a range, twice the
// work for the short texts of a row. given may lie within text.
inline void assignText(std::string& text, std::string_view given) {
    const std::size_t size = given.size();
    if (size > text.size()) {
        text.assign(given.data(), size);
        return;
    }
    std::char_traits<char>::move(text.data(), given.data(), size);
    text.erase(size);
}

inline void assignText(std::optional<std::string>& text, std::optional<std::string_view> given) {
    if (!given) {
        text.reset();
    } else if (text) {
        assignText(*text, *given);
    } else {
        text.emplace(*given);
    }
}

}  // namespace trc::core
