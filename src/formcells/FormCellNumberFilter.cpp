#include "formcells/FormCellNumberFilter.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "platform/ui/UITextField.h"

namespace trc::formcells {

namespace {

// Calls fn with each code point of UTF-8 text; false when fn refuses one or
// the text is not valid UTF-8.
template <class F>
bool eachCodePoint(std::string_view text, F fn) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0 || !fn(c)) return false;
    }
    return true;
}

bool isSeparator(UChar32 c) { return c == '.' || c == ','; }

}  // namespace

bool FormCellNumberFilter::isDigits(std::string_view text) {
    return eachCodePoint(text, [](UChar32 c) { return u_isdigit(c) != 0; });
}

bool FormCellNumberFilter::isNumberText(std::string_view text) {
    bool first = true;
    bool separatorSeen = false;
    return eachCodePoint(text, [&](UChar32 c) {
        const bool wasFirst = first;
        first = false;
        if (u_isdigit(c)) return true;
        if (c == '-') return wasFirst;
        if (isSeparator(c) && !separatorSeen) {
            separatorSeen = true;
            return true;
        }
        return false;
    });
}

bool FormCellNumberFilter::shouldChangeCharacters(const ui::UITextField& textField, ui::NSRange range,
                                                  const std::string& replacement) {
    if (replacement.empty()) return true;
    if (textField.isSecureTextEntry) return isDigits(replacement);
    auto result = ui::replacingCharacters(textField.text, range, replacement);
    if (!result) return false;
    if (isNumberText(*result)) return true;
    // A text the host set that is no number ("1,234.5", "12 kg") would
    // refuse every keystroke if the result were judged; then only what the
    // person inserts is, so digits always go in.
    return !isNumberText(textField.text) && isNumberText(replacement);
}

}  // namespace trc::formcells
