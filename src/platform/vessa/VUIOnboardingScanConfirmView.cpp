#include "platform/vessa/VUIOnboardingScanConfirmView.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIOnboardingScanConfirmView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIOnboardingScanConfirmView>("VUIOnboardingScanConfirmView", ui::UIView::classInfo())
            .constructible()
            .property("cloudPlatformHostName",
                      [](const VUIOnboardingScanConfirmView& v) { return ui::textOrNil(v.cloudPlatformHostName); })
            .build();
    return info;
}

}  // namespace trc::vessa
