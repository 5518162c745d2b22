#pragma once
// The attachments cell: a table cell showing its attachments view
// controller's row of attachments and actions. The cell owns the controller
// and keeps it across reuse, so whoever configures the cell for a row points
// the controller's data source and delegate at that row. Main thread only.

#include <memory>
#include <string>

#include "platform/vessa/VUIAttachmentsViewController.h"
#include "platform/vessa/VUIBaseTableViewCell.h"

namespace trc::vessa {

class VUIAttachmentsFormCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIAttachmentsFormCell)
public:
    VUIAttachmentsFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIAttachmentsFormCell";
        return identifier;
    }

    const std::shared_ptr<VUIAttachmentsViewController>& attachmentsController() const { return controller_; }

private:
    std::shared_ptr<VUIAttachmentsViewController> controller_;
};

}  // namespace trc::vessa
