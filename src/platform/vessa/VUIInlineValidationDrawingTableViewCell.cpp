#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIInlineValidationDrawingTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        VUIInlineValidationHolder::describe(
            core::ClassBuilder<VUIInlineValidationDrawingTableViewCell>("VUIInlineValidationDrawingTableViewCell",
                                                                        VUIBaseDrawingTableViewCell::classInfo())
                .constructible())
            .build();
    return info;
}

VUIInlineValidationDrawingTableViewCell::VUIInlineValidationDrawingTableViewCell() { addSubview(validationView()); }

}  // namespace trc::vessa
