#pragma once
// A range of text as the platform counts it: in UTF-16 code units, which is
// what text-change delegates receive. Helpers turn UTF-8 text and such a
// range into the edited text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trc::ui {

struct NSRange {
    std::size_t location = 0;
    std::size_t length = 0;
    friend bool operator==(const NSRange&, const NSRange&) = default;
};

// The length of UTF-8 text in UTF-16 code units.
std::size_t utf16Length(std::string_view text);
// text with range replaced; nullopt when the range does not lie in the text
// or would split a character.
std::optional<std::string> replacingCharacters(std::string_view text, NSRange range, std::string_view replacement);
// The characters (code points) of UTF-8 text, each as its own UTF-8 string,
// as a person would type them one by one.
std::vector<std::string> typedCharacters(std::string_view text);

}  // namespace trc::ui
