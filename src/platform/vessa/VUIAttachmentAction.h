#pragma once
// One way of adding an attachment that the attachments view controller
// offers a person (a photo from the library, a photo from the camera, a
// document). Each kind tells its own delegate what the person chose; a kind
// without a delegate of its own tells the controller's delegate, when that
// one answers the kind's protocol, so the framework's default actions work
// without being wired one by one.
//
// Owned by the controller that offers it; refers back to it weakly. Main
// thread only.

#include <memory>
#include <string>

#include "platform/core/Object.h"

namespace trc::vessa {

class VUIAttachmentsViewController;

class VUIAttachmentAction : public core::Object {
    TRC_OBJECT(VUIAttachmentAction)
public:
    // "AddPhoto", "TakePhoto" or "SelectFile".
    virtual std::string kindName() const = 0;

    std::shared_ptr<VUIAttachmentsViewController> controller() const { return controller_.lock(); }

protected:
    // The delegate to tell: the action's own, else the controller's when it
    // answers Protocol.
    template <class Protocol>
    std::shared_ptr<Protocol> effectiveDelegate(const std::weak_ptr<Protocol>& own) const;

private:
    friend class VUIAttachmentsViewController;
    std::weak_ptr<VUIAttachmentsViewController> controller_;
};

}  // namespace trc::vessa

#include "platform/vessa/VUIAttachmentsViewController.h"

namespace trc::vessa {

template <class Protocol>
std::shared_ptr<Protocol> VUIAttachmentAction::effectiveDelegate(const std::weak_ptr<Protocol>& own) const {
    if (auto delegate = own.lock()) return delegate;
    auto owner = controller();
    return owner ? std::dynamic_pointer_cast<Protocol>(owner->delegate()) : nullptr;
}

}  // namespace trc::vessa
