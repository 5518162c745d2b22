#pragma once
// The person's text entries that both text inputs (UITextField, UITextView)
// build out of their one checked edit, replace(): typing keystroke by
// keystroke, pasting at the end, deleting the last character and replacing
// the whole text before leaving the input. Each input keeps its own
// replace(), which asks its delegate and tells its listeners. Stateless;
// main thread only, like the inputs.

#include <functional>
#include <string>

#include "platform/ui/NSRange.h"

namespace trc::ui {

class UIResponder;

class TextInputEdits {
public:
    // The input's checked edit: whether the text changed.
    using Replace = std::function<bool(NSRange, const std::string&)>;

    // `text` is the input's own text, read again after every edit.
    static bool type(const std::string& text, const std::string& characters, const Replace& replace);
    static bool paste(const std::string& text, const std::string& characters, const Replace& replace);
    static bool deleteBackward(const std::string& text, const Replace& replace);
    // Focus, one edit, end of editing. False when refused.
    static bool enterText(UIResponder& input, const std::string& text, const std::string& newText,
                          const Replace& replace);
};

}  // namespace trc::ui
