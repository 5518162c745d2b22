#pragma once
// A one-line text input. It is editing exactly while it is its window's
// first responder; beginning and ending editing tell the delegate and send
// EditingDidBegin / EditingDidEnd; each accepted edit sends EditingChanged.
//
// The person's entries: type() (one keystroke per character, each asked of
// the delegate; a refused keystroke changes nothing), paste(), replace(),
// deleteBackward() and pressReturn(). Typing first takes the focus, and
// fails when the field cannot take it (disabled, hidden, not in a window,
// or the delegate refuses). Setting text from code asks nobody.
//
// The delegate is held weakly. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/NSRange.h"
#include "platform/ui/TextInputEdits.h"
#include "platform/ui/UIControl.h"

namespace trc::ui {

class UITextFieldDelegate;

// Raw values as the platform numbers them.
enum class UIKeyboardType {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    NamePhonePad = 6,
    EmailAddress = 7,
    DecimalPad = 8,
    Twitter = 9,
    WebSearch = 10,
    ASCIICapableNumberPad = 11
};

class UITextField : public UIControl {
    TRC_OBJECT(UITextField)
public:
    std::string text;
    std::optional<std::string> placeholder;
    UIKeyboardType keyboardType = UIKeyboardType::Default;
    bool isSecureTextEntry = false;

    std::shared_ptr<UITextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITextFieldDelegate>& delegate) { delegate_ = delegate; }

    bool isEditing() const { return isFirstResponder(); }
    bool canBecomeFirstResponder() const override;

    // The person's entries; each answers whether the text changed (pressReturn:
    // whether the delegate let the return through).
    bool type(const std::string& characters);
    bool paste(const std::string& characters);
    bool replace(NSRange range, const std::string& replacement);
    bool deleteBackward();
    // The person replaces the whole text and leaves the field: focus, one
    // edit asked of the delegate, end of editing. False when refused.
    bool enterText(const std::string& newText);
    bool pressReturn();

protected:
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;

private:
    TextInputEdits::Replace checkedEdit();
    bool focusForTyping();

    std::weak_ptr<UITextFieldDelegate> delegate_;
};

}  // namespace trc::ui
