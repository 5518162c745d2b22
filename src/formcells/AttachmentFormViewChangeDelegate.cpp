#include "formcells/AttachmentFormViewChangeDelegate.h"

#include <string_view>

namespace trc::formcells {

AttachmentFormViewDelegateMap::KeyView AttachmentFormViewChangeDelegate::attachmentKey(const core::Dictionary& params,
                                                                                       const ui::IndexPath& indexPath) {
    const core::Value* name = params.find(kNameKey);
    if (name && name->isString()) return std::string_view(*name->ifString());
    return indexPath;
}

std::shared_ptr<AttachmentFormViewDelegate> AttachmentFormViewChangeDelegate::attachmentDelegate(
    const core::Dictionary& params, const ui::IndexPath& indexPath) const {
    const auto* kept = aDelegates.find(attachmentKey(params, indexPath));
    return kept ? *kept : nullptr;
}

std::shared_ptr<AttachmentFormViewDelegate>& AttachmentFormViewChangeDelegate::attachmentSlot(
    const core::Dictionary& params, const ui::IndexPath& indexPath) {
    return aDelegates.slot(attachmentKey(params, indexPath));
}

}  // namespace trc::formcells
