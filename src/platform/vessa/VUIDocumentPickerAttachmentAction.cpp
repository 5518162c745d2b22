#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIDocumentPickerAttachmentAction::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIDocumentPickerAttachmentAction>("VUIDocumentPickerAttachmentAction",
                                                              VUIAttachmentAction::classInfo())
            .constructible()
            .property("lastDocumentPicker",
                      [](const VUIDocumentPickerAttachmentAction& a) { return ui::objectOrNil(a.lastPicker_); })
            .build();
    return info;
}

bool VUIDocumentPickerAttachmentAction::pickDocument(const std::filesystem::path& file) {
    auto delegate = effectiveDelegate(delegate_);
    if (!delegate) return false;
    auto picker = delegate->documentPicker();
    if (!picker) return false;
    lastPicker_ = picker;
    std::weak_ptr<VUIDocumentPickerAttachmentActionDelegate> weakDelegate = delegate;
    auto self = std::static_pointer_cast<VUIDocumentPickerAttachmentAction>(shared_from_this());
    std::weak_ptr<VUIDocumentPickerAttachmentAction> weakSelf = self;
    picker->didPickDocument = [weakDelegate, weakSelf](const foundation::URL& url) {
        auto d = weakDelegate.lock();
        auto action = weakSelf.lock();
        if (d && action) d->documentPickerAttachmentAction(*action, url);
    };
    return picker->pick(file);
}

}  // namespace trc::vessa
