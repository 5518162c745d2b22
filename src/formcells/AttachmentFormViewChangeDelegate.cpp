#include "formcells/AttachmentFormViewChangeDelegate.h"

namespace trc::formcells {

AttachmentFormViewChangeDelegate::Key AttachmentFormViewChangeDelegate::attachmentKey(const core::Dictionary& params,
                                                                                      const ui::IndexPath& indexPath) {
    const core::Value* name = params.find(kNameKey);
    if (name && name->isString()) return *name->ifString();
    return indexPath;
}

AttachmentFormViewChangeDelegate::KeyView AttachmentFormViewChangeDelegate::attachmentKeyView(
    const core::Dictionary& params, const ui::IndexPath& indexPath) {
    const core::Value* name = params.find(kNameKey);
    if (name && name->isString()) return std::string_view(*name->ifString());
    return indexPath;
}

AttachmentFormViewChangeDelegate::KeyView AttachmentFormViewChangeDelegate::KeyOrder::view(const Key& key) {
    if (const auto* name = std::get_if<std::string>(&key)) return std::string_view(*name);
    return std::get<ui::IndexPath>(key);
}

std::shared_ptr<AttachmentFormViewDelegate> AttachmentFormViewChangeDelegate::attachmentDelegate(
    const core::Dictionary& params, const ui::IndexPath& indexPath) const {
    auto it = aDelegates.find(attachmentKeyView(params, indexPath));
    return it == aDelegates.end() ? nullptr : it->second;
}

std::shared_ptr<AttachmentFormViewDelegate>& AttachmentFormViewChangeDelegate::attachmentSlot(
    const core::Dictionary& params, const ui::IndexPath& indexPath) {
    auto it = aDelegates.find(attachmentKeyView(params, indexPath));
    if (it == aDelegates.end()) it = aDelegates.emplace(attachmentKey(params, indexPath), nullptr).first;
    return it->second;
}

}  // namespace trc::formcells
