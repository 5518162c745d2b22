#pragma once
// Gives the document picker to show (a new one each time it is asked) and
// is told the file a person picked with it. Main thread only.

#include <memory>

#include "platform/foundation/URL.h"
#include "platform/ui/UIDocumentPickerViewController.h"

namespace trc::vessa {

class VUIDocumentPickerAttachmentAction;

class VUIDocumentPickerAttachmentActionDelegate {
public:
    virtual ~VUIDocumentPickerAttachmentActionDelegate() = default;

    virtual std::shared_ptr<ui::UIDocumentPickerViewController> documentPicker() = 0;
    virtual void documentPickerAttachmentAction(VUIDocumentPickerAttachmentAction& action,
                                                const foundation::URL& url) = 0;
};

}  // namespace trc::vessa
