#include "platform/ui/UILayoutGuide.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

const core::ClassInfo& UILayoutGuide::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UILayoutGuide>("UILayoutGuide", core::Object::classInfo())
            .property("identifier", [](const UILayoutGuide& g) { return core::Value(g.identifier); })
            .property("owningView", [](const UILayoutGuide& g) { return objectOrNil(g.owningView()); })
            .build();
    return info;
}

}  // namespace trc::ui
