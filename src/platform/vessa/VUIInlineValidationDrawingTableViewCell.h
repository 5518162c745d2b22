#pragma once
// A drawing cell with an inline validation view, like
// VUIInlineValidationTableViewCell (the two do not derive from each other;
// both take the validation view from VUIInlineValidationHolder).
// Main thread only.

#include "platform/vessa/VUIBaseDrawingTableViewCell.h"
#include "platform/vessa/VUIInlineValidationHolder.h"

namespace trc::vessa {

class VUIInlineValidationDrawingTableViewCell : public VUIBaseDrawingTableViewCell, public VUIInlineValidationHolder {
    TRC_OBJECT(VUIInlineValidationDrawingTableViewCell)
public:
    VUIInlineValidationDrawingTableViewCell();
};

}  // namespace trc::vessa
