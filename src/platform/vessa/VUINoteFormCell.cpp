#include "platform/vessa/VUINoteFormCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUINoteFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUINoteFormCell>("VUINoteFormCell", VUIInlineValidationDrawingTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("value", [](const VUINoteFormCell& c) { return core::Value(c.value()); })
            .property("valueTextView", [](const VUINoteFormCell& c) { return core::Value(c.valueTextView()); })
            .property("placeholder", [](const VUINoteFormCell& c) { return core::Value(c.placeholder()); })
            .property("minNumberOfLines", [](const VUINoteFormCell& c) { return core::Value(c.minNumberOfLines); })
            .property("maxNumberOfLines", [](const VUINoteFormCell& c) { return core::Value(c.maxNumberOfLines); })
            .build();
    return info;
}

VUINoteFormCell::VUINoteFormCell()
    : valueTextView_(std::make_shared<ui::UITextView>()), placeholder_(std::make_shared<ui::UILabel>()) {
    nuiClass = "VUINoteFormCell";
    innerView()->addSubview(valueTextView_);
    innerView()->addSubview(placeholder_);
    innerView()->setFocusTarget(valueTextView_);
    valueTextView_->onTextChange = whileAlive([this](ui::UITextView&) {
        if (tracker_.edited(isTrackingLiveChanges)) fire(onChangeHandler, value());
    });
    valueTextView_->onEndEditing = whileAlive([this](ui::UITextView&) {
        if (tracker_.ended()) fire(onChangeHandler, value());
    });
}

}  // namespace trc::vessa
