#include "platform/vessa/VUIDurationPickerFormCell.h"

#include <algorithm>
#include <cmath>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIDurationPickerFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIDurationPickerFormCell>("VUIDurationPickerFormCell",
                                                      VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUIDurationPickerFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUIDurationPickerFormCell& c) { return core::Value(c.keyLabel()); })
            .property("valueLabel", [](const VUIDurationPickerFormCell& c) { return core::Value(c.valueLabel()); })
            .property("value", [](const VUIDurationPickerFormCell& c) { return core::Value(c.value()); })
            .property("durationPicker",
                      [](const VUIDurationPickerFormCell& c) { return core::Value(c.durationPicker()); })
            .build();
    return info;
}

std::string VUIDurationPickerFormCell::durationText(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    // Far beyond any duration a person picks, and still a whole number of minutes an integer holds.
    seconds = std::min(seconds, 1e15);
    auto minutes = static_cast<long long>(seconds / 60);
    long long hours = minutes / 60;
    minutes %= 60;
    if (hours > 0 && minutes > 0) return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
    if (hours > 0) return std::to_string(hours) + " h";
    return std::to_string(minutes) + " min";
}

VUIDurationPickerFormCell::VUIDurationPickerFormCell()
    : keyLabel_(std::make_shared<ui::UILabel>()),
      valueLabel_(std::make_shared<ui::UILabel>()),
      durationPicker_(std::make_shared<ui::UIDatePicker>()) {
    nuiClass = "VUIDurationPickerFormCell";
    durationPicker_->datePickerMode = ui::UIDatePicker::Mode::CountDownTimer;
    contentView()->addSubview(keyLabel_);
    contentView()->addSubview(valueLabel_);
    contentView()->addSubview(durationPicker_);
    valueLabel_->text = durationText(0);
    durationPicker_->addAction(ui::UIControl::Event::ValueChanged, whileAlive([this](ui::UIControl&) {
                                   valueLabel_->text = durationText(value());
                                   fire(onChangeHandler, value());
                               }));
}

void VUIDurationPickerFormCell::setValue(double seconds) {
    durationPicker_->countDownDuration = seconds;
    valueLabel_->text = durationText(seconds);
}

}  // namespace trc::vessa
