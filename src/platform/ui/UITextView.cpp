#include "platform/ui/UITextView.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/TextInputEdits.h"
#include "platform/ui/UITextViewDelegate.h"

namespace trc::ui {

const core::ClassInfo& UITextView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITextView>("UITextView", UIView::classInfo())
            .constructible()
            .property("text", [](const UITextView& v) { return core::Value(v.text); })
            .property("isEditable", [](const UITextView& v) { return core::Value(v.isEditable); })
            .property("allowsEditingTextAttributes",
                      [](const UITextView& v) { return core::Value(v.allowsEditingTextAttributes); })
            .property("isEditing", [](const UITextView& v) { return core::Value(v.isEditing()); })
            .build();
    return info;
}

bool UITextView::canBecomeFirstResponder() const {
    if (!isEditable || isHidden() || !isUserInteractionEnabled) return false;
    auto d = delegate();
    return !d || d->textViewShouldBeginEditing(const_cast<UITextView&>(*this));
}

void UITextView::didBecomeFirstResponder() {
    if (auto d = delegate()) d->textViewDidBeginEditing(*this);
}

void UITextView::didResignFirstResponder() {
    if (auto d = delegate()) d->textViewDidEndEditing(*this);
    if (onEndEditing) onEndEditing(*this);
}

bool UITextView::replace(NSRange range, const std::string& replacement) {
    if (!isEditing() && !becomeFirstResponder()) return false;
    auto changed = replacingCharacters(text, range, replacement);
    if (!changed) return false;
    if (auto d = delegate()) {
        if (!d->textViewShouldChangeTextIn(*this, range, replacement)) return false;
    }
    text = std::move(*changed);
    if (auto d = delegate()) d->textViewDidChange(*this);
    if (onTextChange) onTextChange(*this);
    return true;
}

TextInputEdits::Replace UITextView::checkedEdit() {
    return [this](NSRange range, const std::string& replacement) { return replace(range, replacement); };
}

bool UITextView::type(const std::string& characters) { return TextInputEdits::type(text, characters, checkedEdit()); }

bool UITextView::paste(const std::string& characters) { return TextInputEdits::paste(text, characters, checkedEdit()); }

bool UITextView::deleteBackward() { return TextInputEdits::deleteBackward(text, checkedEdit()); }

bool UITextView::enterText(const std::string& newText) {
    return TextInputEdits::enterText(*this, text, newText, checkedEdit());
}

}  // namespace trc::ui
