#include "platform/vessa/VUIInfoViewController.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIInfoViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIInfoViewController>("VUIInfoViewController", ui::UIViewController::classInfo())
            .constructible()
            .build();
    return info;
}

std::shared_ptr<VUIInfoViewController> VUIInfoViewController::createSplashScreenInstanceFromStoryboard() {
    return std::make_shared<VUIInfoViewController>();
}

}  // namespace trc::vessa
