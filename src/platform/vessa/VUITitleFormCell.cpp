#include "platform/vessa/VUITitleFormCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUITitleFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUITitleFormCell>("VUITitleFormCell", VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("value", [](const VUITitleFormCell& c) { return core::Value(c.value()); })
            .property("placeholderText", [](const VUITitleFormCell& c) { return ui::textOrNil(c.placeholderText()); })
            .property("valueTextField", [](const VUITitleFormCell& c) { return core::Value(c.valueTextField()); })
            .build();
    return info;
}

VUITitleFormCell::VUITitleFormCell() : valueTextField_(std::make_shared<ui::UITextField>()) {
    nuiClass = "VUITitleFormCell";
    contentView()->addSubview(valueTextField_);
    valueTextField_->addAction(ui::UIControl::Event::EditingChanged, whileAlive([this](ui::UIControl&) {
                                   if (tracker_.edited(isTrackingLiveChanges)) report();
                               }));
    valueTextField_->addAction(ui::UIControl::Event::EditingDidEnd, whileAlive([this](ui::UIControl&) {
                                   if (tracker_.ended()) report();
                               }));
}

void VUITitleFormCell::report() { fire(onChangeHandler, value()); }

}  // namespace trc::vessa
