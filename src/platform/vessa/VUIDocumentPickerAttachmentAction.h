#pragma once
// The attachment action that picks a document with the system's document
// picker, which its delegate supplies.
//
// Person entry: pickDocument(file) opens the delegate's picker and picks the
// file in it; a file of a type the picker does not offer, or no file at all,
// is refused. The picker last opened stays readable for checks.
//
// Owned by its attachments view controller; its delegate is held weakly.
// Main thread only.

#include <filesystem>
#include <memory>
#include <type_traits>

#include "platform/ui/UIDocumentPickerViewController.h"
#include "platform/vessa/VUIAttachmentAction.h"
#include "platform/vessa/VUIDocumentPickerAttachmentActionDelegate.h"

namespace trc::vessa {

class VUIDocumentPickerAttachmentAction : public VUIAttachmentAction {
    TRC_OBJECT(VUIDocumentPickerAttachmentAction)
public:
    std::string kindName() const override { return "SelectFile"; }

    std::shared_ptr<VUIDocumentPickerAttachmentActionDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<VUIDocumentPickerAttachmentActionDelegate>& d) { delegate_ = d; }
    // A delegate of a class that answers the protocol, held weakly without
    // first being made a shared one of the protocol.
    template <class Delegate>
    requires std::is_convertible_v<Delegate*, VUIDocumentPickerAttachmentActionDelegate*>
    void setDelegate(const std::shared_ptr<Delegate>& d) { delegate_ = d; }

    // False when nothing was picked.
    bool pickDocument(const std::filesystem::path& file);
    std::shared_ptr<ui::UIDocumentPickerViewController> lastDocumentPicker() const { return lastPicker_; }

private:
    std::weak_ptr<VUIDocumentPickerAttachmentActionDelegate> delegate_;
    std::shared_ptr<ui::UIDocumentPickerViewController> lastPicker_;
};

}  // namespace trc::vessa
