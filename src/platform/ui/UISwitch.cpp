#include "platform/ui/UISwitch.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UISwitch::classInfo() {
    static const core::ClassInfo& info = core::ClassBuilder<UISwitch>("UISwitch", UIControl::classInfo())
                                             .constructible()
                                             .property("isOn", [](const UISwitch& s) { return core::Value(s.isOn()); })
                                             .build();
    return info;
}

bool UISwitch::toggle() {
    if (!acceptsUserInput()) return false;
    on_ = !on_;
    sendActions(Event::ValueChanged);
    return true;
}

}  // namespace trc::ui
