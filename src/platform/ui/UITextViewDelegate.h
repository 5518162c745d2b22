#pragma once
// What a text view asks of its delegate while a person edits it; every
// answer has a default that lets the edit through. Held weakly; main
// thread only.

#include <string>

#include "platform/ui/NSRange.h"

namespace trc::ui {

class UITextView;

class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;

    virtual bool textViewShouldBeginEditing(UITextView& /*textView*/) { return true; }
    virtual void textViewDidBeginEditing(UITextView& /*textView*/) {}
    virtual bool textViewShouldChangeTextIn(UITextView& /*textView*/, NSRange /*range*/,
                                            const std::string& /*replacement*/) {
        return true;
    }
    virtual void textViewDidChange(UITextView& /*textView*/) {}
    virtual void textViewDidEndEditing(UITextView& /*textView*/) {}
};

}  // namespace trc::ui
