#pragma once
// A framework cell with an inline validation view under its content. The
// message is the validation view's title label text. Main thread only.

#include "platform/vessa/VUIBaseTableViewCell.h"
#include "platform/vessa/VUIInlineValidationHolder.h"

namespace trc::vessa {

class VUIInlineValidationTableViewCell : public VUIBaseTableViewCell, public VUIInlineValidationHolder {
    TRC_OBJECT(VUIInlineValidationTableViewCell)
public:
    VUIInlineValidationTableViewCell();
};

}  // namespace trc::vessa
