#pragma once
// The duration picker cell: a caption, a duration in seconds (value) shown
// in valueLabel as hours and minutes ("1 h 30 min"), and the picker a
// person picks with (its minute interval is the picker's). A pick reaches
// onChangeHandler with the seconds. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UIDatePicker.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"

namespace trc::vessa {

class VUIDurationPickerFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUIDurationPickerFormCell)
public:
    VUIDurationPickerFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIDurationPickerFormCell";
        return identifier;
    }
    // "1 h 30 min", "2 h", "45 min"; seconds below a minute count as none.
    static std::string durationText(double seconds);

    const std::optional<std::string>& keyName() const { return keyLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(keyLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& keyLabel() const { return keyLabel_; }
    const std::shared_ptr<ui::UILabel>& valueLabel() const { return valueLabel_; }

    double value() const { return durationPicker_->countDownDuration; }
    void setValue(double seconds);
    const std::shared_ptr<ui::UIDatePicker>& durationPicker() const { return durationPicker_; }

    VUIChangeHandler<void(double)> onChangeHandler;

    bool pick(double seconds) { return durationPicker_->pickDuration(seconds); }

protected:
    void editableDidChange() override { durationPicker_->setEnabled(isEditable()); }

private:
    std::shared_ptr<ui::UILabel> keyLabel_;
    std::shared_ptr<ui::UILabel> valueLabel_;
    std::shared_ptr<ui::UIDatePicker> durationPicker_;
};

}  // namespace trc::vessa
