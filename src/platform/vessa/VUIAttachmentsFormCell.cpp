#include "platform/vessa/VUIAttachmentsFormCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIAttachmentsFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIAttachmentsFormCell>("VUIAttachmentsFormCell", VUIBaseTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("attachmentsController",
                      [](const VUIAttachmentsFormCell& c) { return core::Value(c.attachmentsController()); })
            .build();
    return info;
}

VUIAttachmentsFormCell::VUIAttachmentsFormCell() : controller_(VUIAttachmentsViewController::make()) {
    nuiClass = "VUIAttachmentsFormCell";
    contentView()->addSubview(controller_->view());
}

}  // namespace trc::vessa
