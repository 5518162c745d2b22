#include "platform/vessa/VUIInlineValidationTableViewCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIInlineValidationTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIInlineValidationTableViewCell>("VUIInlineValidationTableViewCell",
                                                             VUIBaseTableViewCell::classInfo())
            .constructible()
            .property("validationMessage",
                      [](const VUIInlineValidationTableViewCell& c) { return ui::textOrNil(c.validationMessage()); })
            .property("validationView",
                      [](const VUIInlineValidationTableViewCell& c) { return core::Value(c.validationView()); })
            .build();
    return info;
}

VUIInlineValidationTableViewCell::VUIInlineValidationTableViewCell()
    : validationView_(std::make_shared<VUIInlineValidationView>()) {
    addSubview(validationView_);
}

}  // namespace trc::vessa
