#include "platform/ui/UISegmentedControl.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UISegmentedControl::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UISegmentedControl>("UISegmentedControl", UIControl::classInfo())
            .constructible()
            .property("selectedSegmentIndex",
                      [](const UISegmentedControl& c) { return core::Value(c.selectedSegmentIndex); })
            .property("segmentTitles", [](const UISegmentedControl& c) { return c.segmentTitles.value(); })
            .build();
    return info;
}

bool UISegmentedControl::selectSegment(int index) {
    if (!acceptsUserInput() || index < 0 || index >= static_cast<int>(segmentTitles.size())) return false;
    if (index == selectedSegmentIndex) return true;
    selectedSegmentIndex = index;
    sendActions(Event::ValueChanged);
    return true;
}

}  // namespace trc::ui
