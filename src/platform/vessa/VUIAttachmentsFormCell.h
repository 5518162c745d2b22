#pragma once
// The attachments cell. It stands in the cell hierarchy now; its
// attachments view controller comes with the attachment form cells.
// Main thread only.

#include <string>

#include "platform/vessa/VUIBaseTableViewCell.h"

namespace trc::vessa {

class VUIAttachmentsFormCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIAttachmentsFormCell)
public:
    VUIAttachmentsFormCell() { nuiClass = "VUIAttachmentsFormCell"; }
    static std::string reuseIdentifier() { return "VUIAttachmentsFormCell"; }
};

}  // namespace trc::vessa
