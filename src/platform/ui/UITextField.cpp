#include "platform/ui/UITextField.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/TextInputEdits.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UITextField::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITextField>("UITextField", UIControl::classInfo())
            .constructible()
            .property("text", [](const UITextField& f) { return core::Value(f.text); })
            .property("placeholder", [](const UITextField& f) { return textOrNil(f.placeholder); })
            .property("keyboardType",
                      [](const UITextField& f) { return core::Value(static_cast<int>(f.keyboardType)); })
            .property("isSecureTextEntry", [](const UITextField& f) { return core::Value(f.isSecureTextEntry); })
            .property("isEditing", [](const UITextField& f) { return core::Value(f.isEditing()); })
            .build();
    return info;
}

bool UITextField::canBecomeFirstResponder() const {
    if (!acceptsUserInput()) return false;
    auto d = delegate();
    return !d || d->textFieldShouldBeginEditing(const_cast<UITextField&>(*this));
}

void UITextField::didBecomeFirstResponder() {
    if (auto d = delegate()) d->textFieldDidBeginEditing(*this);
    sendActions(Event::EditingDidBegin);
}

void UITextField::didResignFirstResponder() {
    if (auto d = delegate()) d->textFieldDidEndEditing(*this);
    sendActions(Event::EditingDidEnd);
}

bool UITextField::focusForTyping() { return isEditing() || becomeFirstResponder(); }

bool UITextField::replace(NSRange range, const std::string& replacement) {
    if (!focusForTyping()) return false;
    auto changed = replacingCharacters(text, range, replacement);
    if (!changed) return false;
    if (auto d = delegate()) {
        if (!d->textFieldShouldChangeCharactersIn(*this, range, replacement)) return false;
    }
    text = std::move(*changed);
    sendActions(Event::EditingChanged);
    return true;
}

bool UITextField::pressReturn() {
    if (!isEditing()) return false;
    auto d = delegate();
    bool ok = !d || d->textFieldShouldReturn(*this);
    if (ok) sendActions(Event::EditingDidEndOnExit);
    return ok;
}

TextInputEdits::Replace UITextField::checkedEdit() {
    return [this](NSRange range, const std::string& replacement) { return replace(range, replacement); };
}

bool UITextField::type(const std::string& characters) { return TextInputEdits::type(text, characters, checkedEdit()); }

bool UITextField::paste(const std::string& characters) {
    return TextInputEdits::paste(text, characters, checkedEdit());
}

bool UITextField::deleteBackward() { return TextInputEdits::deleteBackward(text, checkedEdit()); }

bool UITextField::enterText(const std::string& newText) {
    return TextInputEdits::enterText(*this, text, newText, checkedEdit());
}

}  // namespace trc::ui
