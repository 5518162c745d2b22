#include "platform/vessa/VUIAttachmentAction.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIAttachmentAction::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIAttachmentAction>("VUIAttachmentAction", core::Object::classInfo())
            .property("kind", [](const VUIAttachmentAction& a) { return core::Value(a.kindName()); })
            .build();
    return info;
}

}  // namespace trc::vessa
