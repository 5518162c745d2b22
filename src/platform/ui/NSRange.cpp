#include "platform/ui/NSRange.h"

#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

namespace trc::ui {

std::size_t utf16Length(std::string_view text) {
    auto u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    return static_cast<std::size_t>(u.length());
}

std::optional<std::string> replacingCharacters(std::string_view text, NSRange range, std::string_view replacement) {
    auto u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    auto length = static_cast<std::size_t>(u.length());
    if (range.location > length || range.length > length - range.location) return std::nullopt;
    auto start = static_cast<int32_t>(range.location);
    auto end = static_cast<int32_t>(range.location + range.length);
    // Half of a surrogate pair on either edge would leave broken text.
    if (start > 0 && start < u.length() && U16_IS_TRAIL(u.charAt(start)) && U16_IS_LEAD(u.charAt(start - 1))) {
        return std::nullopt;
    }
    if (end > 0 && end < u.length() && U16_IS_TRAIL(u.charAt(end)) && U16_IS_LEAD(u.charAt(end - 1))) {
        return std::nullopt;
    }
    u.replace(
        start, end - start,
        icu::UnicodeString::fromUTF8(icu::StringPiece(replacement.data(), static_cast<int32_t>(replacement.size()))));
    std::string out;
    u.toUTF8String(out);
    return out;
}

std::vector<std::string> typedCharacters(std::string_view text) {
    std::vector<std::string> out;
    int32_t i = 0;
    auto n = static_cast<int32_t>(text.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    while (i < n) {
        int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, n, c);
        (void)c;
        out.emplace_back(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
    return out;
}

}  // namespace trc::ui
