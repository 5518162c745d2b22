// The attachment row's setter: the attachments controller's texts and
// actions, the host's attachments, and the row's delegate as the
// controller's data source and delegate.

#include <algorithm>

#include "formcells/AttachmentFormViewDelegate.h"
#include "formcells/FormCellSetters.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;

constexpr const char* kAttachmentCancelTitle = "AttachmentCancelTitle";
constexpr const char* kAttachmentTitle = "AttachmentTitle";
constexpr const char* kAttachmentActionType = "AttachmentActionType";
constexpr const char* kAddPhoto = "AddPhoto";
constexpr const char* kTakePhoto = "TakePhoto";
constexpr const char* kSelectFile = "SelectFile";

bool contains(const std::vector<std::string>& list, const char* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Every action of the controller tells this row's delegate, also the ones a
// reused cell kept from the row it showed before, so that nothing a person
// adds here lands in another row.
void pointActionsAt(vessa::VUIAttachmentsViewController& controller,
                    const std::shared_ptr<AttachmentFormViewDelegate>& aDelegate) {
    for (const auto& action : controller.attachmentActions()) {
        if (auto a = std::dynamic_pointer_cast<vessa::VUIAddPhotoAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        } else if (auto a = std::dynamic_pointer_cast<vessa::VUITakePhotoAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        } else if (auto a = std::dynamic_pointer_cast<vessa::VUIDocumentPickerAttachmentAction>(action)) {
            a->setDelegate(aDelegate);
        }
    }
}

}  // namespace

void FormCellSetters::setAttachmentsFormCellView(const std::shared_ptr<vessa::VUIAttachmentsFormCell>& cell,
                                                 const Params& params,
                                                 const std::shared_ptr<AttachmentFormViewDelegate>& aDelegate) {
    if (!cell) return;
    auto& controller = *cell->attachmentsController();
    if (auto cancel = ParameterHelper::getParameterAsString(params, kAttachmentCancelTitle)) {
        controller.customCancelString = std::move(*cancel);
    }
    if (auto title = ParameterHelper::getParameterAsString(params, kAttachmentTitle)) {
        controller.customAttachmentsTitleFormat = std::move(*title);
    }
    if (auto types = ParameterHelper::getParameterAsStringArray(params, kAttachmentActionType); types && !types->empty()) {
        controller.removeAllAttachmentActions();
        // A fixed order, whatever the order the host lists them in.
        if (contains(*types, kAddPhoto)) controller.addAttachmentAction(std::make_shared<vessa::VUIAddPhotoAttachmentAction>());
        if (contains(*types, kTakePhoto)) {
            controller.addAttachmentAction(std::make_shared<vessa::VUITakePhotoAttachmentAction>(std::nullopt));
        }
        if (contains(*types, kSelectFile)) {
            controller.addAttachmentAction(std::make_shared<vessa::VUIDocumentPickerAttachmentAction>());
        }
    }
    pointActionsAt(controller, aDelegate);
    if (aDelegate) {
        if (auto entries = ParameterHelper::getParameterAsNSDictionaryArray(params, SetterSupport::kValue)) {
            for (const auto& entry : *entries) aDelegate->addAttachmentEntry(entry);
        }
    }
    controller.setDelegate(aDelegate);
    controller.setDataSource(aDelegate);
    SetterSupport::applyStyleClass(SetterSupport::styles(params), SetterSupport::kBackground, *cell);
    controller.reloadData();
}

}  // namespace trc::formcells
