#include "platform/ui/UIDatePicker.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UIDatePicker::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIDatePicker>("UIDatePicker", UIControl::classInfo())
            .constructible()
            .property("date", [](const UIDatePicker& p) { return core::Value(p.date); })
            .property("datePickerMode",
                      [](const UIDatePicker& p) { return core::Value(static_cast<int>(p.datePickerMode)); })
            .property("locale", [](const UIDatePicker& p) { return core::Value(p.locale); })
            .property("minuteInterval", [](const UIDatePicker& p) { return core::Value(p.minuteInterval()); })
            .property("countDownDuration", [](const UIDatePicker& p) { return core::Value(p.countDownDuration); })
            .build();
    return info;
}

void UIDatePicker::setMinuteInterval(int interval) {
    if (interval >= 1 && interval <= 30 && 60 % interval == 0) minuteInterval_ = interval;
}

bool UIDatePicker::pick(core::Date value) {
    if (!acceptsUserInput()) return false;
    date = value;
    sendActions(Event::ValueChanged);
    return true;
}

bool UIDatePicker::pickDuration(double seconds) {
    if (!acceptsUserInput() || seconds < 0) return false;
    countDownDuration = seconds;
    sendActions(Event::ValueChanged);
    return true;
}

}  // namespace trc::ui
