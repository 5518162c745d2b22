#pragma once
// A date, time or duration picker. pick() and pickDuration() are the
// person's choices: they set the value and send ValueChanged, refused when
// the picker does not accept input. A minute interval must divide 60 and
// lie from 1 to 30; other values are ignored. Main thread only.

#include <string>

#include "platform/core/Value.h"
#include "platform/ui/UIControl.h"

namespace trc::ui {

class UIDatePicker : public UIControl {
    TRC_OBJECT(UIDatePicker)
public:
    // Raw values as the platform numbers them.
    enum class Mode { Time = 0, Date = 1, DateAndTime = 2, CountDownTimer = 3 };

    Mode datePickerMode = Mode::DateAndTime;
    core::Date date;
    // The locale identifier the picker shows its wheels in ("en_US").
    std::string locale;
    double countDownDuration = 0;

    int minuteInterval() const { return minuteInterval_; }
    void setMinuteInterval(int interval);

    bool pick(core::Date value);
    bool pickDuration(double seconds);

private:
    int minuteInterval_ = 1;
};

}  // namespace trc::ui
