#include "platform/ui/UITextView.h"

#include "platform/core/ClassInfo.h"
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

bool UITextView::type(const std::string& characters) {
    bool any = false;
    for (const auto& c : typedCharacters(characters)) any = replace({utf16Length(text), 0}, c) || any;
    return any;
}

bool UITextView::paste(const std::string& characters) { return replace({utf16Length(text), 0}, characters); }

bool UITextView::deleteBackward() {
    auto chars = typedCharacters(text);
    if (chars.empty()) return false;
    std::size_t last = utf16Length(chars.back());
    return replace({utf16Length(text) - last, last}, "");
}

bool UITextView::enterText(const std::string& newText) {
    if (!isEditing() && !becomeFirstResponder()) return false;
    bool changed = replace({0, utf16Length(text)}, newText);
    resignFirstResponder();
    return changed;
}

}  // namespace trc::ui
