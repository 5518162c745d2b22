#pragma once
// A row of titled segments of which one may be selected
// (selectedSegmentIndex, noSegment when none). selectSegment() is the
// person's tap: it sends ValueChanged when the selection changes; a tap on
// a segment that does not exist, or when the control does not accept
// input, is refused (false). Main thread only.

#include <string>
#include <vector>

#include "platform/ui/UIControl.h"

namespace trc::ui {

class UISegmentedControl : public UIControl {
    TRC_OBJECT(UISegmentedControl)
public:
    static constexpr int noSegment = -1;

    std::vector<std::string> segmentTitles;
    int selectedSegmentIndex = noSegment;
    bool apportionsSegmentWidthsByContent = false;

    bool selectSegment(int index);
};

}  // namespace trc::ui
