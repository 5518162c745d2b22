#include "platform/vessa/VUITextFieldFormCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUITextFieldFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUITextFieldFormCell>("VUITextFieldFormCell",
                                                 VUIInlineValidationDrawingTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUITextFieldFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("value", [](const VUITextFieldFormCell& c) { return core::Value(c.value()); })
            .property("valueTextField", [](const VUITextFieldFormCell& c) { return core::Value(c.valueTextField()); })
            .property("placeholder", [](const VUITextFieldFormCell& c) { return core::Value(c.placeholder()); })
            .property("titleLabel", [](const VUITextFieldFormCell& c) { return core::Value(c.titleLabel()); })
            .property("keyboardType",
                      [](const VUITextFieldFormCell& c) { return core::Value(static_cast<int>(c.keyboardType())); })
            .property("isAlternativeInputEnabled",
                      [](const VUITextFieldFormCell& c) { return core::Value(c.isAlternativeInputEnabled()); })
            .property("alternativeInputButton",
                      [](const VUITextFieldFormCell& c) { return core::Value(c.alternativeInputButton()); })
            .property("titleStyleClassPath",
                      [](const VUITextFieldFormCell& c) { return styleClassNames(c.titleStyleClassPath); })
            .build();
    return info;
}

VUITextFieldFormCell::VUITextFieldFormCell()
    : titleStyleClassPath{VessaStyle{"VUITextFieldFormCell.title"}},
      titleLabel_(std::make_shared<ui::UILabel>()),
      valueTextField_(std::make_shared<ui::UITextField>()),
      placeholder_(std::make_shared<ui::UILabel>()),
      alternativeInputButton_(std::make_shared<VUIButton>()) {
    nuiClass = "VUITextFieldFormCell";
    valueTextField_->nuiClass = "VUITextFieldFormCell.value";
    alternativeInputButton_->setHidden(true);
    innerView()->addSubview(titleLabel_);
    innerView()->addSubview(valueTextField_);
    innerView()->addSubview(placeholder_);
    innerView()->addSubview(alternativeInputButton_);
    innerView()->setFocusTarget(valueTextField_);
    valueTextField_->addAction(ui::UIControl::Event::EditingChanged, whileAlive([this](ui::UIControl&) {
                                   if (tracker_.edited(isTrackingLiveChanges)) fire(onChangeHandler, value());
                               }));
    valueTextField_->addAction(ui::UIControl::Event::EditingDidEnd, whileAlive([this](ui::UIControl&) {
                                   if (tracker_.ended()) fire(onChangeHandler, value());
                               }));
}

}  // namespace trc::vessa
