#pragma once
// What the attachments view controller tells its delegate: a person pressed
// delete on an attachment, or an attachment could not be opened. The
// controller has already taken the attachment off its display when the
// delete is told; the delegate removes it from its data. Held weakly by the
// controller; main thread only.

namespace trc::vessa {

class VUIAttachmentsViewController;

class VUIAttachmentsViewControllerDelegate {
public:
    virtual ~VUIAttachmentsViewControllerDelegate() = default;

    virtual void didPressDeleteAtIndex(VUIAttachmentsViewController& controller, int index) = 0;
    virtual void couldNotPresentAttachmentAtIndex(VUIAttachmentsViewController& /*controller*/, int /*index*/) {}
};

}  // namespace trc::vessa
