#pragma once
// The simple-property cell: a caption (keyName) above an editable text
// (value) in valueTextField, a placeholder component, a keyboard type, and
// an optional alternative input button (a barcode button, say) beside the
// field. Edits reach onChangeHandler as for VUITitleFormCell. The inner
// drawing view forwards focus to the value text field. The text field's
// delegate belongs to whoever configures the cell. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextField.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"
#include "platform/vessa/VUITextChangeTracker.h"
#include "platform/vessa/VessaStyle.h"

namespace trc::vessa {

class VUITextFieldFormCell : public VUIInlineValidationDrawingTableViewCell {
    TRC_OBJECT(VUITextFieldFormCell)
public:
    VUITextFieldFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUITextFieldFormCell";
        return identifier;
    }

    const std::optional<std::string>& keyName() const { return titleLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(titleLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& titleLabel() const { return titleLabel_; }

    const std::string& value() const { return valueTextField_->text; }
    void setValue(std::string_view value) { core::assignText(valueTextField_->text, value); }
    const std::shared_ptr<ui::UITextField>& valueTextField() const { return valueTextField_; }
    // The placeholder component; its text shows while the value is empty.
    const std::shared_ptr<ui::UILabel>& placeholder() const { return placeholder_; }

    ui::UIKeyboardType keyboardType() const { return valueTextField_->keyboardType; }
    void setKeyboardType(ui::UIKeyboardType type) { valueTextField_->keyboardType = type; }

    bool isAlternativeInputEnabled() const { return !alternativeInputButton_->isHidden(); }
    void setAlternativeInputEnabled(bool enabled) { alternativeInputButton_->setHidden(!enabled); }
    const std::shared_ptr<VUIButton>& alternativeInputButton() const { return alternativeInputButton_; }

    std::vector<VessaStyle> titleStyleClassPath;
    VUIChangeHandler<void(const std::string&)> onChangeHandler;

    bool type(const std::string& characters) { return valueTextField_->type(characters); }
    bool enterValue(const std::string& text) { return valueTextField_->enterText(text); }

protected:
    void editableDidChange() override { valueTextField_->setEnabled(isEditable()); }

private:
    std::shared_ptr<ui::UILabel> titleLabel_;
    std::shared_ptr<ui::UITextField> valueTextField_;
    std::shared_ptr<ui::UILabel> placeholder_;
    std::shared_ptr<VUIButton> alternativeInputButton_;
    VUITextChangeTracker tracker_;
};

}  // namespace trc::vessa
