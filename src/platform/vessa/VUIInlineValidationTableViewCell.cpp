#include "platform/vessa/VUIInlineValidationTableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIInlineValidationTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        VUIInlineValidationHolder::describe(core::ClassBuilder<VUIInlineValidationTableViewCell>(
                                                "VUIInlineValidationTableViewCell", VUIBaseTableViewCell::classInfo())
                                                .constructible())
            .build();
    return info;
}

VUIInlineValidationTableViewCell::VUIInlineValidationTableViewCell() { addSubview(validationView()); }

}  // namespace trc::vessa
