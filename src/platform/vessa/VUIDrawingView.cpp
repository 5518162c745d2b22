#include "platform/vessa/VUIDrawingView.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIDrawingView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIDrawingView>("VUIDrawingView", ui::UIView::classInfo())
            .constructible()
            .property("calculateLayoutRequests",
                      [](const VUIDrawingView& v) { return core::Value(v.calculateLayoutRequests()); })
            .build();
    return info;
}

bool VUIDrawingView::becomeFirstResponder() {
    ++focusRequests_;
    auto target = focusTarget();
    return target && target->becomeFirstResponder();
}

bool VUIDrawingView::resignFirstResponder() {
    auto target = focusTarget();
    return !target || target->resignFirstResponder();
}

bool VUIDrawingView::isFirstResponder() const {
    auto target = focusTarget();
    return target && target->isFirstResponder();
}

}  // namespace trc::vessa
