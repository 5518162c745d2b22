#pragma once
// An on/off switch. toggle() is the person's flip: it changes isOn and
// sends ValueChanged, and is refused (false) when the switch does not
// accept input. setOn() from code sends nothing. Main thread only.

#include "platform/ui/UIControl.h"

namespace trc::ui {

class UISwitch : public UIControl {
    TRC_OBJECT(UISwitch)
public:
    bool isOn() const { return on_; }
    void setOn(bool on, bool /*animated*/ = false) { on_ = on; }
    bool toggle();

private:
    bool on_ = false;
};

}  // namespace trc::ui
