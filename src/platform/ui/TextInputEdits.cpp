#include "platform/ui/TextInputEdits.h"

#include "platform/ui/UIResponder.h"

namespace trc::ui {

bool TextInputEdits::type(const std::string& text, const std::string& characters, const Replace& replace) {
    bool any = false;
    for (const auto& c : typedCharacters(characters)) any = replace({utf16Length(text), 0}, c) || any;
    return any;
}

bool TextInputEdits::paste(const std::string& text, const std::string& characters, const Replace& replace) {
    return replace({utf16Length(text), 0}, characters);
}

bool TextInputEdits::deleteBackward(const std::string& text, const Replace& replace) {
    auto chars = typedCharacters(text);
    if (chars.empty()) return false;
    std::size_t last = utf16Length(chars.back());
    return replace({utf16Length(text) - last, last}, "");
}

bool TextInputEdits::enterText(UIResponder& input, const std::string& text, const std::string& newText,
                               const Replace& replace) {
    if (!input.isFirstResponder() && !input.becomeFirstResponder()) return false;
    bool changed = replace({0, utf16Length(text)}, newText);
    input.resignFirstResponder();
    return changed;
}

}  // namespace trc::ui
