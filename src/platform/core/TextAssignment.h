#pragma once
// Setting a text in the room it already has. A cell is given its new row's
// texts on every scroll step; assigned this way, a text that fits the
// capacity the old one left takes no allocation. Nothing (std::nullopt)
// empties an optional text.

#include <optional>
#include <string>
#include <string_view>

namespace trc::core {

inline void assignText(std::string& text, std::string_view given) { text.assign(given.data(), given.size()); }

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
