#pragma once
// What the attachments view controller asks of whoever holds the
// attachments: how many there are, the icon of each (with how it fills its
// square) and the address each opens at. Indexes run from 0 in display
// order. Held weakly by the controller; main thread only.

#include <memory>
#include <optional>

#include "platform/foundation/URL.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIViewContentMode.h"

namespace trc::vessa {

class VUIAttachmentsViewController;

class VUIAttachmentsViewControllerDataSource {
public:
    struct Icon {
        std::shared_ptr<ui::UIImage> image;
        ui::UIViewContentMode contentMode = ui::UIViewContentMode::ScaleAspectFill;
    };

    virtual ~VUIAttachmentsViewControllerDataSource() = default;

    virtual int numberOfAttachments(VUIAttachmentsViewController& controller) = 0;
    // None: the attachment shows the framework's generic icon.
    virtual std::optional<Icon> iconForAttachmentAtIndex(VUIAttachmentsViewController& controller, int index) = 0;
    // None: the attachment cannot be opened.
    virtual std::optional<foundation::URL> urlForAttachmentAtIndex(VUIAttachmentsViewController& controller,
                                                                   int index) = 0;
};

}  // namespace trc::vessa
