#pragma once
// The one-line title cell: an editable text (value) in valueTextField with
// a placeholder. A person's edits reach onChangeHandler with the whole
// text: at every keystroke while isTrackingLiveChanges, else when editing
// ends. Not editable: the field takes no focus. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UITextField.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"
#include "platform/vessa/VUITextChangeTracker.h"

namespace trc::vessa {

class VUITitleFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUITitleFormCell)
public:
    VUITitleFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUITitleFormCell";
        return identifier;
    }

    const std::string& value() const { return valueTextField_->text; }
    void setValue(std::string_view value) { core::assignText(valueTextField_->text, value); }
    const std::optional<std::string>& placeholderText() const { return valueTextField_->placeholder; }
    void setPlaceholderText(std::optional<std::string_view> text) {
        core::assignText(valueTextField_->placeholder, text);
    }
    const std::shared_ptr<ui::UITextField>& valueTextField() const { return valueTextField_; }

    VUIChangeHandler<void(const std::string&)> onChangeHandler;

    // The person types into the field, or replaces its text and leaves it.
    bool type(const std::string& characters) { return valueTextField_->type(characters); }
    bool enterValue(const std::string& text) { return valueTextField_->enterText(text); }

protected:
    void editableDidChange() override { valueTextField_->setEnabled(isEditable()); }

private:
    void report();

    std::shared_ptr<ui::UITextField> valueTextField_;
    VUITextChangeTracker tracker_;
};

}  // namespace trc::vessa
