#pragma once
// A row of titled segments of which one may be selected
// (selectedSegmentIndex, noSegment when none); the titles may be a host's
// list, shared. selectSegment() is the person's tap: it sends ValueChanged
// when the selection changes; a tap on a segment that does not exist, or
// when the control does not accept input, is refused (false). Main thread
// only.

#include "platform/ui/UIControl.h"
#include "platform/ui/UIOptionTitles.h"

namespace trc::ui {

class UISegmentedControl : public UIControl {
    TRC_OBJECT(UISegmentedControl)
public:
    static constexpr int noSegment = -1;

    UIOptionTitles segmentTitles;
    int selectedSegmentIndex = noSegment;
    bool apportionsSegmentWidthsByContent = false;

    bool selectSegment(int index);
};

}  // namespace trc::ui
