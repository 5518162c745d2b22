#include "platform/vessa/VUISwitchFormCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUISwitchFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUISwitchFormCell>("VUISwitchFormCell", VUIInlineValidationDrawingTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUISwitchFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("value", [](const VUISwitchFormCell& c) { return core::Value(c.value()); })
            .property("switchView", [](const VUISwitchFormCell& c) { return core::Value(c.switchView()); })
            .property("titleLabel", [](const VUISwitchFormCell& c) { return core::Value(c.titleLabel()); })
            .property("titleStyleClassPath",
                      [](const VUISwitchFormCell& c) { return styleClassNames(c.titleStyleClassPath); })
            .build();
    return info;
}

VUISwitchFormCell::VUISwitchFormCell()
    : titleStyleClassPath{VessaStyle{"VUISwitchFormCell.title"}},
      titleLabel_(std::make_shared<ui::UILabel>()),
      switchView_(std::make_shared<ui::UISwitch>()) {
    nuiClass = "VUISwitchFormCell";
    switchView_->nuiClass = "VUISwitchFormCell.switch";
    innerView()->addSubview(titleLabel_);
    innerView()->addSubview(switchView_);
    switchView_->addAction(ui::UIControl::Event::ValueChanged,
                           whileAlive([this](ui::UIControl&) { fire(onChangeHandler, value()); }));
}

}  // namespace trc::vessa
