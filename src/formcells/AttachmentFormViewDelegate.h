#pragma once
// The state and behaviour of one attachment row: the attachments it holds
// (ordered unique ids, each with a record of content, content type and
// addresses, and a thumbnail), what the row's attachments view controller
// shows of them, and what happens when a person adds (photo library,
// camera, document picker) or deletes one. Every change reaches the row's
// owner as a value-change dictionary: "Value" (every complete record, in
// order) with "AddedAttachments" or "DeletedAttachments" (the one record).
//
// Attachments named in the row's "Value" by the host are added silently, and
// only when they are among the "Value" entries of the parameters the
// delegate was made with (a host entry a person deleted stays deleted).
// User additions are reported and the row's section reloaded. Content that
// cannot be read (a missing or unreadable file, a picture that does not
// encode) rolls the attachment back without a word. Only local files are
// read; a file's copy is reused only when it holds the same bytes.
//
// Owned by the row's owner (its aDelegates) for the owner's lifetime; holds
// the owner weakly. The attachments controller and its actions hold it
// weakly. Main thread only: answers the photo library delivers on another
// queue are handed to the main queue before they touch anything, and are
// dropped when the delegate is gone or the attachment was deleted meanwhile.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formcells/AttachmentFormViewChangeDelegate.h"
#include "formcells/FormCellKeys.h"
#include "platform/core/Value.h"
#include "platform/foundation/URL.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/UIImage.h"
#include "platform/vessa/VUIAddPhotoAttachmentActionDelegate.h"
#include "platform/vessa/VUIAttachmentsViewControllerDataSource.h"
#include "platform/vessa/VUIAttachmentsViewControllerDelegate.h"
#include "platform/vessa/VUIDocumentPickerAttachmentActionDelegate.h"
#include "platform/vessa/VUITakePhotoAttachmentActionDelegate.h"

namespace trc::formcells {

class AttachmentFormViewDelegate : public std::enable_shared_from_this<AttachmentFormViewDelegate>,
                                   public vessa::VUIAttachmentsViewControllerDataSource,
                                   public vessa::VUIAttachmentsViewControllerDelegate,
                                   public vessa::VUIAddPhotoAttachmentActionDelegate,
                                   public vessa::VUITakePhotoAttachmentActionDelegate,
                                   public vessa::VUIDocumentPickerAttachmentActionDelegate {
public:
    // Keys of an attachment record and of the value-change dictionary.
    static constexpr const char* kContentType = "contentType";
    static constexpr const char* kContent = "content";
    static constexpr const char* kUrlString = "urlString";
    static constexpr const char* kPreviewURLString = "previewURLString";
    static constexpr const char* kValue = FormCellKeys::kValue;
    static constexpr const char* kAddedAttachments = "AddedAttachments";
    static constexpr const char* kDeletedAttachments = "DeletedAttachments";
    // Row parameters read here.
    static constexpr const char* kName = AttachmentFormViewChangeDelegate::kNameKey;
    static constexpr const char* kAllowedFileTypes = "AllowedFileTypes";
    // Host keys carried over into the records of host entries.
    static constexpr const char* kHostEntryKeys[] = {"entitySet", "property", "readLink", "service"};
    static constexpr const char* kDefaultContentType = "application/octet-stream";
    static constexpr const char* kPNGContentType = "image/png";
    static constexpr double kJPEGCompressionQuality = 0.7;
    static constexpr double kThumbnailSide = 80;
    // A deletion of the first attachment is reported this much later.
    static constexpr double kFirstRowDeletionDelay = 0.5;
    // The activity indicator's parameters while a library photo is copied.
    static constexpr const char* kIndicatorTextKey = "text";

    AttachmentFormViewDelegate(const std::shared_ptr<AttachmentFormViewChangeDelegate>& changeDelegate,
                               const ui::IndexPath& indexPath, core::Dictionary params);

    // The row as last built; reload requests name it.
    ui::IndexPath iPath;
    // What the row's setter made of the row's list of action kinds, and
    // that list, which listedActionsHeld keeps alive: a list a row shares
    // is never changed in place (a change makes a new one), and no other
    // list can be where a live one is. So a row built again reads the
    // items of its list only when its host has given it another.
    struct ListedActions {
        const core::Array* list = nullptr;
        std::uint8_t kinds = 0;
    };
    // Every build reads iPath, listedActions and attachmentUniqueIDs:
    // declared together, they share the lines the delegate's count is in.
    ListedActions listedActions;
    std::vector<std::string> attachmentUniqueIDs;
    std::weak_ptr<AttachmentFormViewChangeDelegate> changeDelegate;
    std::map<std::string, core::Dictionary> attachmentsData;
    std::map<std::string, std::shared_ptr<ui::UIImage>> attachmentThumbnails;
    // The row's parameters when the delegate was made; deletions edit "Value".
    core::Dictionary params;
    core::Value listedActionsHeld;

    // A "Value" entry of the host's (from a configuration of the row).
    void addAttachmentEntry(const core::Dictionary& attachmentEntry);

    // The unique id of an attachment address: the address itself for
    // library and file addresses, else udid when given.
    static std::string uniqueIdForURL(const foundation::URL& url, const std::string& udid);

    // Attachments controller.
    int numberOfAttachments(vessa::VUIAttachmentsViewController& controller) override;
    std::optional<Icon> iconForAttachmentAtIndex(vessa::VUIAttachmentsViewController& controller, int index) override;
    std::optional<foundation::URL> urlForAttachmentAtIndex(vessa::VUIAttachmentsViewController& controller,
                                                           int index) override;
    void didPressDeleteAtIndex(vessa::VUIAttachmentsViewController& controller, int index) override;
    void couldNotPresentAttachmentAtIndex(vessa::VUIAttachmentsViewController& controller, int index) override;

    // Actions.
    void addPhotoAttachmentAction(vessa::VUIAddPhotoAttachmentAction& action, const std::shared_ptr<ui::PHAsset>& asset,
                                  const foundation::URL& url) override;
    void addPhotoAttachmentAction(vessa::VUIAddPhotoAttachmentAction& action, const foundation::URL& url) override;
    void takePhotoAttachmentAction(vessa::VUITakePhotoAttachmentAction& action,
                                   const std::shared_ptr<ui::PHAsset>& asset, const foundation::URL& url) override;
    void takePhotoAttachmentAction(vessa::VUITakePhotoAttachmentAction& action,
                                   const std::shared_ptr<ui::UIImage>& image) override;
    // A new picker for the row's "AllowedFileTypes" (any data when none maps to a type).
    std::shared_ptr<ui::UIDocumentPickerViewController> documentPicker() override;
    void documentPickerAttachmentAction(vessa::VUIDocumentPickerAttachmentAction& action,
                                        const foundation::URL& url) override;

    // The file an asset's content is in: the full-size image of a picture,
    // the file of a video; another kind of asset never answers. Answers on
    // a background queue.
    static void getFileURL(const std::shared_ptr<ui::PHAsset>& asset,
                           std::function<void(std::optional<foundation::URL>)> completionHandler);

private:
    void addAttachment(const foundation::URL& url, const foundation::URL& previewURL, bool reload,
                       const std::string& udid, bool notify);
    void addThumbnailAndAttachmentData(bool notify, bool reload, const std::string& uniqueId,
                                       const foundation::URL& url, const foundation::URL& previewURL);
    // Records the content of an attachment no library asset holds, when it can be read.
    void loadFileContent(bool notify, const std::string& uniqueId, const foundation::URL& url,
                         const foundation::URL& previewURL, const std::string& contentType);
    void addAttachmentData(core::Data imageData, const std::string& uniqueId, const foundation::URL& url,
                           const foundation::URL& previewURL, bool notify, const std::string& contentType);
    void processAttacmentDataAdded(bool reload, const std::string& uniqueId);
    void notifyContainer(const std::optional<core::Dictionary>& addedAttachment,
                         const std::optional<core::Dictionary>& deletedAttachment);
    // Adds the copy of a library photo and takes the activity indicator away.
    void addCopiedPhoto(const std::optional<foundation::URL>& copied, const std::string& udid);
    bool isListed(const std::string& uniqueId) const;

    // Host keys of host entries whose content arrives later.
    std::map<std::string, core::Dictionary> pendingHostKeys_;
};

}  // namespace trc::formcells
