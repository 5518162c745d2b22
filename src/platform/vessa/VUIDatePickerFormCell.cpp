#include "platform/vessa/VUIDatePickerFormCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIDatePickerFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIDatePickerFormCell>("VUIDatePickerFormCell",
                                                  VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUIDatePickerFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUIDatePickerFormCell& c) { return core::Value(c.keyLabel()); })
            .property("valueLabel", [](const VUIDatePickerFormCell& c) { return core::Value(c.valueLabel()); })
            .property("value", [](const VUIDatePickerFormCell& c) { return core::Value(c.value()); })
            .property("datePicker", [](const VUIDatePickerFormCell& c) { return core::Value(c.datePicker()); })
            .property("dateStyle",
                      [](const VUIDatePickerFormCell& c) {
                          return c.dateFormatter()
                                     ? core::Value(foundation::dateFormatterStyleName(c.dateFormatter()->dateStyle()))
                                     : core::Value();
                      })
            .property("timeStyle",
                      [](const VUIDatePickerFormCell& c) {
                          return c.dateFormatter()
                                     ? core::Value(foundation::dateFormatterStyleName(c.dateFormatter()->timeStyle()))
                                     : core::Value();
                      })
            .build();
    return info;
}

VUIDatePickerFormCell::VUIDatePickerFormCell()
    : keyLabel_(std::make_shared<ui::UILabel>()),
      valueLabel_(std::make_shared<ui::UILabel>()),
      datePicker_(std::make_shared<ui::UIDatePicker>()) {
    nuiClass = "VUIDatePickerFormCell";
    contentView()->addSubview(keyLabel_);
    contentView()->addSubview(valueLabel_);
    contentView()->addSubview(datePicker_);
    datePicker_->addAction(ui::UIControl::Event::ValueChanged, whileAlive([this](ui::UIControl&) {
                               showValue();
                               fire(onChangeHandler, value());
                           }));
}

void VUIDatePickerFormCell::setKeyName(std::optional<std::string_view> name) {
    setCaption(keyName_, name);
    setCaption(keyLabel_->text, name);
}

void VUIDatePickerFormCell::setValue(core::Date date) {
    datePicker_->date = date;
    showValue();
}

void VUIDatePickerFormCell::setDateFormatter(std::shared_ptr<foundation::DateFormatter> formatter) {
    dateFormatter_ = std::move(formatter);
    showValue();
}

void VUIDatePickerFormCell::setValue(core::Date date, std::shared_ptr<foundation::DateFormatter> formatter) {
    datePicker_->date = date;
    setDateFormatter(std::move(formatter));
}

void VUIDatePickerFormCell::showValue() {
    // Into the label's text, in its room: a reused cell shows its new row's date without allocating.
    std::string& text = valueLabel_->text ? *valueLabel_->text : valueLabel_->text.emplace();
    if (dateFormatter_) {
        dateFormatter_->format(value(), text);
    } else {
        text.clear();
    }
}

}  // namespace trc::vessa
