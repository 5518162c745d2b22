#pragma once
// A framework cell whose content is one drawing view (innerView) with a
// calculated layout; asking the inner view for the focus reaches the
// cell's text input. Main thread only.

#include <memory>

#include "platform/vessa/VUIBaseTableViewCell.h"
#include "platform/vessa/VUIDrawingView.h"

namespace trc::vessa {

class VUIBaseDrawingTableViewCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIBaseDrawingTableViewCell)
public:
    VUIBaseDrawingTableViewCell();

    std::shared_ptr<VUIDrawingView> innerView() const { return innerView_; }

private:
    std::shared_ptr<VUIDrawingView> innerView_;
};

}  // namespace trc::vessa
