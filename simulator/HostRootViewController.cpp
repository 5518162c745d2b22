#include "simulator/HostRootViewController.h"

#include "platform/core/ClassInfo.h"

namespace trc::simulator {

const core::ClassInfo& HostRootViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<HostRootViewController>("HostRootViewController", ui::UIViewController::classInfo())
            .constructible()
            .build();
    return info;
}

}  // namespace trc::simulator
