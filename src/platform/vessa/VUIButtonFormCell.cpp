#include "platform/vessa/VUIButtonFormCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIButtonFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIButtonFormCell>("VUIButtonFormCell", VUIBaseTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("button", [](const VUIButtonFormCell& c) { return core::Value(c.button()); })
            .property("alignment",
                      [](const VUIButtonFormCell& c) { return core::Value(horizontalAlignmentName(c.alignment)); })
            .build();
    return info;
}

VUIButtonFormCell::VUIButtonFormCell() : button_(std::make_shared<VUIButton>()) {
    nuiClass = "VUIButtonFormCell";
    contentView()->addSubview(button_);
    button_->addAction(ui::UIControl::Event::TouchUpInside, whileAlive([this](ui::UIControl&) {
                           fire(onChangeHandler, ui::UIControl::Event::TouchUpInside);
                       }));
}

}  // namespace trc::vessa
