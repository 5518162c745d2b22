#include "platform/vessa/VUIAttachmentsFormCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIAttachmentsFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIAttachmentsFormCell>("VUIAttachmentsFormCell", VUIBaseTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .build();
    return info;
}

}  // namespace trc::vessa
