#pragma once
// A multi-line text input. Like UITextField: editing while first
// responder, the person's entries type()/paste()/replace()/deleteBackward()
// go through the delegate, and setting text from code asks nobody.
//
// Besides the (weak) delegate, the view that contains a text view can
// listen through onTextChange and onEndEditing without taking the delegate
// slot, which belongs to whoever configures the text view. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/NSRange.h"
#include "platform/ui/TextInputEdits.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

class UITextViewDelegate;

class UITextView : public UIView {
    TRC_OBJECT(UITextView)
public:
    std::string text;
    bool isEditable = true;
    bool allowsEditingTextAttributes = false;

    std::shared_ptr<UITextViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITextViewDelegate>& delegate) { delegate_ = delegate; }

    std::function<void(UITextView&)> onTextChange;
    std::function<void(UITextView&)> onEndEditing;

    bool isEditing() const { return isFirstResponder(); }
    bool canBecomeFirstResponder() const override;

    bool type(const std::string& characters);
    bool paste(const std::string& characters);
    bool replace(NSRange range, const std::string& replacement);
    bool deleteBackward();
    // The person replaces the whole text and leaves the field: focus, one
    // edit asked of the delegate, end of editing. False when refused.
    bool enterText(const std::string& newText);

protected:
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;

private:
    TextInputEdits::Replace checkedEdit();
    std::weak_ptr<UITextViewDelegate> delegate_;
};

}  // namespace trc::ui
