#include "formcells/AttachmentFormViewChangeDelegate.h"

namespace trc::formcells {

AttachmentFormViewChangeDelegate::Key AttachmentFormViewChangeDelegate::attachmentKey(const core::Dictionary& params,
                                                                                      const ui::IndexPath& indexPath) {
    const core::Value* name = params.find(kNameKey);
    if (name && name->isString()) return *name->ifString();
    return indexPath;
}

std::shared_ptr<AttachmentFormViewDelegate> AttachmentFormViewChangeDelegate::attachmentDelegate(
    const core::Dictionary& params, const ui::IndexPath& indexPath) const {
    auto it = aDelegates.find(attachmentKey(params, indexPath));
    return it == aDelegates.end() ? nullptr : it->second;
}

}  // namespace trc::formcells
