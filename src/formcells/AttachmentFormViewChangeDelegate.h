#pragma once
// What an attachment row's delegate needs of the owner of its row (the
// full-screen form or the form cell section): to pass a change on to the
// row's host callback object by the row's name, and to reload the row's
// table section after an addition. The owner also keeps one
// AttachmentFormViewDelegate per attachment row for its lifetime
// (aDelegates), so a row's attachments survive cell reuse and scrolling.
//
// aDelegates is keyed by the row's "_Name", so a row keeps its attachments
// when rows above it are hidden or shown and the row moves; a row without a
// name is keyed by the index path it was first built at. A row renamed by
// its host is found under its new name. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "formcells/AttachmentFormViewDelegateMap.h"
#include "formcells/FormCellKeys.h"
#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"

namespace trc::formcells {

class AttachmentFormViewDelegate;

class AttachmentFormViewChangeDelegate {
public:
    // The row parameter that names a row.
    static constexpr const char* kNameKey = FormCellKeys::kName;

    virtual ~AttachmentFormViewChangeDelegate() = default;

    // Sends "valueChangedWithParams" with params to the callback object of
    // the row named name; nothing without a name or such a row.
    virtual void didChangeValue(const std::optional<std::string>& name, const core::Dictionary& params) = 0;
    // Reloads the section that holds the row, on a later main-queue turn.
    virtual void reloadSectionContainer(const ui::IndexPath& indexPath) = 0;

    // The row's key in aDelegates, viewing the row's name.
    static AttachmentFormViewDelegateMap::KeyView attachmentKey(const core::Dictionary& params,
                                                                const ui::IndexPath& indexPath);
    // The row's delegate, or nullptr when the row has none yet.
    std::shared_ptr<AttachmentFormViewDelegate> attachmentDelegate(const core::Dictionary& params,
                                                                   const ui::IndexPath& indexPath) const;
    // Where the row's delegate is kept, made empty when the row has none
    // yet; valid until another row's is added. Looked up by the row's name
    // in place: a row is built on every scroll step.
    std::shared_ptr<AttachmentFormViewDelegate>& attachmentSlot(const core::Dictionary& params,
                                                                const ui::IndexPath& indexPath);

    AttachmentFormViewDelegateMap aDelegates;
};

}  // namespace trc::formcells
