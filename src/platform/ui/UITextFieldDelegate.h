#pragma once
// What a text field asks of its delegate while a person edits it. Every
// answer has a default that lets the edit through. Held weakly by the
// field; main thread only.

#include <string>

#include "platform/ui/NSRange.h"

namespace trc::ui {

class UITextField;

class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(UITextField& /*textField*/) { return true; }
    virtual void textFieldDidBeginEditing(UITextField& /*textField*/) {}
    // range is in UTF-16 units of the field's text before the change.
    virtual bool textFieldShouldChangeCharactersIn(UITextField& /*textField*/, NSRange /*range*/,
                                                   const std::string& /*replacement*/) {
        return true;
    }
    virtual void textFieldDidEndEditing(UITextField& /*textField*/) {}
    virtual bool textFieldShouldReturn(UITextField& /*textField*/) { return true; }
};

}  // namespace trc::ui
