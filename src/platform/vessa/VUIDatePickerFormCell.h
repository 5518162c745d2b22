#pragma once
// The date picker cell: a caption (keyName, shown in keyLabel), the date
// (value) shown in valueLabel through the cell's dateFormatter, and the
// picker a person picks with. A pick reaches onChangeHandler with the new
// date. Without a formatter the value label is empty. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/TextAssignment.h"
#include "platform/core/Value.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/ui/UIDatePicker.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"

namespace trc::vessa {

class VUIDatePickerFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUIDatePickerFormCell)
public:
    VUIDatePickerFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIDatePickerFormCell";
        return identifier;
    }

    const std::optional<std::string>& keyName() const { return keyName_; }
    void setKeyName(std::optional<std::string_view> name);
    const std::shared_ptr<ui::UILabel>& keyLabel() const { return keyLabel_; }
    const std::shared_ptr<ui::UILabel>& valueLabel() const { return valueLabel_; }

    core::Date value() const { return datePicker_->date; }
    void setValue(core::Date date);
    const std::shared_ptr<ui::UIDatePicker>& datePicker() const { return datePicker_; }
    const std::shared_ptr<foundation::DateFormatter>& dateFormatter() const { return dateFormatter_; }
    void setDateFormatter(std::shared_ptr<foundation::DateFormatter> formatter);
    // The formatter was changed in place: the date is shown through it anew.
    void dateFormatterDidChange() { showValue(); }
    // A new date and formatter at once: the date is formatted once, with the new formatter.
    void setValue(core::Date date, std::shared_ptr<foundation::DateFormatter> formatter);

    VUIChangeHandler<void(core::Date)> onChangeHandler;

    bool pick(core::Date date) { return datePicker_->pick(date); }

protected:
    void editableDidChange() override { datePicker_->setEnabled(isEditable()); }

private:
    void showValue();

    std::optional<std::string> keyName_;
    std::shared_ptr<ui::UILabel> keyLabel_;
    std::shared_ptr<ui::UILabel> valueLabel_;
    std::shared_ptr<ui::UIDatePicker> datePicker_;
    std::shared_ptr<foundation::DateFormatter> dateFormatter_;
};

}  // namespace trc::vessa
