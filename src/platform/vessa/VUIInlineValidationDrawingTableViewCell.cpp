#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIInlineValidationDrawingTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIInlineValidationDrawingTableViewCell>("VUIInlineValidationDrawingTableViewCell",
                                                                    VUIBaseDrawingTableViewCell::classInfo())
            .constructible()
            .property("validationMessage",
                      [](const VUIInlineValidationDrawingTableViewCell& c) { return ui::textOrNil(c.validationMessage()); })
            .property("validationView",
                      [](const VUIInlineValidationDrawingTableViewCell& c) { return core::Value(c.validationView()); })
            .build();
    return info;
}

VUIInlineValidationDrawingTableViewCell::VUIInlineValidationDrawingTableViewCell()
    : validationView_(std::make_shared<VUIInlineValidationView>()) {
    addSubview(validationView_);
}

}  // namespace trc::vessa
