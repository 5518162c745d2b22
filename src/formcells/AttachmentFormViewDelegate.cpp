#include "formcells/AttachmentFormViewDelegate.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "formcells/internal/AttachmentTemporaryFiles.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UTType.h"
#include "platform/foundation/UUID.h"
#include "platform/ui/ImageEncoder.h"
#include "platform/ui/PHImageManager.h"
#include "platform/ui/PHPhotoLibrary.h"
#include "services/ActivityIndicatorView.h"
#include "services/ImagePathHandler.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using foundation::URL;
using internal::AttachmentTemporaryFiles;
using services::ParameterHelper;

constexpr const char* kFileScheme = "file";

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool schemeIs(const URL& url, const char* scheme) { return lower(url.scheme()) == scheme; }

std::string encodedForQuery(const std::string& text) {
    return URL::addingPercentEncoding(text, URL::AllowedCharacters::Query);
}

const std::string* stringIn(const core::Dictionary& d, std::string_view key) {
    const core::Value* v = d.find(key);
    return v ? v->ifString() : nullptr;
}

// The unique id a host "Value" element names, when it names one.
std::optional<std::string> hostEntryId(const core::Value& element) {
    const core::Dictionary* entry = element.ifDictionary();
    const std::string* urlString = entry ? stringIn(*entry, AttachmentFormViewDelegate::kUrlString) : nullptr;
    if (!urlString) return std::nullopt;
    auto url = URL::fromString(encodedForQuery(*urlString));
    if (!url) return std::nullopt;
    return AttachmentFormViewDelegate::uniqueIdForURL(*url, "");
}

void dismissIndicator() { services::ActivityIndicatorView::dismiss(); }

}  // namespace

AttachmentFormViewDelegate::AttachmentFormViewDelegate(
    const std::shared_ptr<AttachmentFormViewChangeDelegate>& changeDelegate, const ui::IndexPath& indexPath,
    core::Dictionary params)
    : iPath(indexPath), changeDelegate(changeDelegate), params(std::move(params)) {}

std::string AttachmentFormViewDelegate::uniqueIdForURL(const URL& url, const std::string& udid) {
    if (schemeIs(url, ui::PHAsset::kAssetsLibraryScheme) || schemeIs(url, kFileScheme)) return url.absoluteString();
    return udid.empty() ? url.absoluteString() : udid;
}

bool AttachmentFormViewDelegate::isListed(const std::string& uniqueId) const {
    return std::find(attachmentUniqueIDs.begin(), attachmentUniqueIDs.end(), uniqueId) != attachmentUniqueIDs.end();
}

// ---- Host entries ---------------------------------------------------------------

void AttachmentFormViewDelegate::addAttachmentEntry(const core::Dictionary& attachmentEntry) {
    const std::string* urlString = stringIn(attachmentEntry, kUrlString);
    if (!urlString) return;
    const std::string encoded = encodedForQuery(*urlString);
    auto own = ParameterHelper::getParameterAsArray(params, kValue);
    if (!own || own->empty()) return;
    // Only the entries the row was made with come in; one a person deleted
    // has left that list.
    const bool listed = std::any_of(own->begin(), own->end(),
                                    [&](const core::Value& element) { return hostEntryId(element) == encoded; });
    if (!listed) return;
    auto url = URL::fromString(encoded);
    if (!url) return;
    std::optional<URL> previewURL;
    if (const std::string* preview = stringIn(attachmentEntry, kPreviewURLString))
        previewURL = URL::fromString(*preview);
    if (!previewURL) previewURL = url;
    const std::string id = uniqueIdForURL(*url, "");
    if (attachmentsData.contains(id) || isListed(id)) return;

    core::Dictionary hostKeys;
    for (const char* key : kHostEntryKeys) {
        if (const core::Value* v = attachmentEntry.find(key)) hostKeys.set(key, *v);
    }
    pendingHostKeys_[id] = std::move(hostKeys);
    addAttachment(*url, *previewURL, false, "", false);
}

// ---- Adding ---------------------------------------------------------------------

void AttachmentFormViewDelegate::addAttachment(const URL& url, const URL& previewURL, bool reload,
                                               const std::string& udid, bool notify) {
    const std::string id = uniqueIdForURL(url, udid);
    // The same file added twice stays one attachment, also while its
    // content is still on its way.
    if (attachmentsData.contains(id) || isListed(id)) {
        pendingHostKeys_.erase(id);
        return;
    }
    attachmentUniqueIDs.push_back(id);
    addThumbnailAndAttachmentData(notify, reload, id, url, previewURL);
}

void AttachmentFormViewDelegate::addThumbnailAndAttachmentData(bool notify, bool reload, const std::string& uniqueId,
                                                               const URL& url, const URL& previewURL) {
    std::string contentType = kDefaultContentType;
    if (auto mime = foundation::UTType::mimeTypeOfExtension(previewURL.pathExtension())) contentType = *mime;

    std::shared_ptr<ui::PHAsset> asset;
    const auto& library = ui::PHPhotoLibrary::shared();
    if (library.authorizationStatus != ui::PHPhotoLibrary::AuthorizationStatus::NotDetermined) {
        const bool byAddress = schemeIs(previewURL, ui::PHAsset::kAssetsLibraryScheme) || uniqueId.empty();
        const auto found = byAddress ? library.fetchAssetsWithALAssetURLs({previewURL.absoluteString()})
                                     : library.fetchAssetsWithLocalIdentifiers({uniqueId});
        if (!found.empty()) asset = found.front();
    }

    if (!asset) {
        loadFileContent(notify, uniqueId, url, previewURL, contentType);
        processAttacmentDataAdded(reload, uniqueId);
        return;
    }

    attachmentThumbnails[uniqueId] = ui::PHImageManager::requestImage(
        *asset, ui::CGSize{kThumbnailSide, kThumbnailSide}, ui::UIViewContentMode::ScaleAspectFit);
    if (!contentType.starts_with("video/")) {
        std::weak_ptr<AttachmentFormViewDelegate> weak = weak_from_this();
        ui::PHImageManager::requestImageData(
            asset, [weak, notify, reload, uniqueId, url, previewURL, contentType](std::optional<core::Data> data) {
                dispatch::MainQueue::shared().async(
                    [weak, notify, reload, uniqueId, url, previewURL, contentType, data = std::move(data)]() mutable {
                        auto self = weak.lock();
                        // Deleted while the data was on its way: nothing to add any more.
                        if (!self || !self->isListed(uniqueId)) return;
                        if (data)
                            self->addAttachmentData(std::move(*data), uniqueId, url, previewURL, notify, contentType);
                        self->processAttacmentDataAdded(reload, uniqueId);
                    });
            });
        return;
    }
    // A video's content is its file, which only a file address names.
    std::optional<core::Data> content;
    if (auto file = URL::fromString(uniqueId); file && file->isFileURL()) {
        content = AttachmentTemporaryFiles::readContent(*file);
    }
    if (content) addAttachmentData(std::move(*content), uniqueId, url, previewURL, notify, contentType);
    processAttacmentDataAdded(reload, uniqueId);
}

void AttachmentFormViewDelegate::loadFileContent(bool notify, const std::string& uniqueId, const URL& url,
                                                 const URL& previewURL, const std::string& contentType) {
    // Only local files are read: a host's address of anything else is no
    // attachment content.
    if (!previewURL.isFileURL()) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::info,
                                       "attachment " + previewURL.description() + " is no local file; not added");
        return;
    }
    auto image = services::ImagePathHandler::image(previewURL.path());
    std::optional<core::Data> content;
    std::string type = contentType;
    if (image) {
        attachmentThumbnails[uniqueId] = image;
        const std::string ext = lower(previewURL.pathExtension());
        if (ext == "jpeg" || ext == "jpg") {
            content = ui::ImageEncoder::jpegData(*image, kJPEGCompressionQuality);
        } else if (ext == "png") {
            content = ui::ImageEncoder::pngData(*image);
            type = kPNGContentType;
        } else {
            content = AttachmentTemporaryFiles::readContent(previewURL);
        }
    } else {
        content = AttachmentTemporaryFiles::readContent(previewURL);
    }
    if (content) addAttachmentData(std::move(*content), uniqueId, url, previewURL, notify, type);
}

void AttachmentFormViewDelegate::addAttachmentData(core::Data imageData, const std::string& uniqueId, const URL& url,
                                                   const URL& previewURL, bool notify, const std::string& contentType) {
    core::Dictionary record;
    record.set(kContentType, contentType);
    record.set(kContent, core::Value(std::move(imageData)));
    if (auto plain = URL::removingPercentEncoding(url.absoluteString())) record.set(kUrlString, *plain);
    record.set(kPreviewURLString, previewURL.absoluteString());
    if (auto keys = pendingHostKeys_.extract(uniqueId)) {
        for (const auto& [key, value] : keys.mapped()) record.set(key, value);
    }
    attachmentsData[uniqueId] = record;
    if (notify) notifyContainer(record, std::nullopt);
}

void AttachmentFormViewDelegate::processAttacmentDataAdded(bool reload, const std::string& uniqueId) {
    if (attachmentsData.contains(uniqueId)) {
        if (reload) {
            if (auto owner = changeDelegate.lock()) owner->reloadSectionContainer(iPath);
        }
        return;
    }
    if (auto it = std::find(attachmentUniqueIDs.begin(), attachmentUniqueIDs.end(), uniqueId);
        it != attachmentUniqueIDs.end()) {
        attachmentUniqueIDs.erase(it);
    }
    attachmentThumbnails.erase(uniqueId);
    pendingHostKeys_.erase(uniqueId);
}

void AttachmentFormViewDelegate::notifyContainer(const std::optional<core::Dictionary>& addedAttachment,
                                                 const std::optional<core::Dictionary>& deletedAttachment) {
    core::Array value;
    for (const auto& id : attachmentUniqueIDs) {
        // An attachment whose content is still on its way is not one yet.
        if (auto it = attachmentsData.find(id); it != attachmentsData.end()) value.emplace_back(it->second);
    }
    core::Dictionary change;
    change.set(kValue, core::Value(std::move(value)));
    if (addedAttachment) change.set(kAddedAttachments, *addedAttachment);
    if (deletedAttachment) change.set(kDeletedAttachments, *deletedAttachment);
    auto owner = changeDelegate.lock();
    if (!owner) return;
    const std::string* name = stringIn(params, kName);
    owner->didChangeValue(name ? std::optional<std::string>(*name) : std::nullopt, change);
}

// ---- Attachments controller -------------------------------------------------------

int AttachmentFormViewDelegate::numberOfAttachments(vessa::VUIAttachmentsViewController& /*controller*/) {
    return static_cast<int>(attachmentUniqueIDs.size());
}

std::optional<vessa::VUIAttachmentsViewControllerDataSource::Icon> AttachmentFormViewDelegate::iconForAttachmentAtIndex(
    vessa::VUIAttachmentsViewController& /*controller*/, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= attachmentUniqueIDs.size()) return std::nullopt;
    auto it = attachmentThumbnails.find(attachmentUniqueIDs[static_cast<std::size_t>(index)]);
    if (it == attachmentThumbnails.end() || !it->second) return std::nullopt;
    return Icon{it->second, ui::UIViewContentMode::ScaleAspectFill};
}

std::optional<URL> AttachmentFormViewDelegate::urlForAttachmentAtIndex(
    vessa::VUIAttachmentsViewController& /*controller*/, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= attachmentUniqueIDs.size()) return std::nullopt;
    auto it = attachmentsData.find(attachmentUniqueIDs[static_cast<std::size_t>(index)]);
    if (it == attachmentsData.end()) return std::nullopt;
    const std::string* preview = stringIn(it->second, kPreviewURLString);
    return preview ? URL::fromString(*preview) : std::nullopt;
}

void AttachmentFormViewDelegate::didPressDeleteAtIndex(vessa::VUIAttachmentsViewController& /*controller*/, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= attachmentUniqueIDs.size()) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "attachment delete at " + std::to_string(index) + ": no such attachment");
        return;
    }
    const std::string id = attachmentUniqueIDs[static_cast<std::size_t>(index)];
    attachmentUniqueIDs.erase(attachmentUniqueIDs.begin() + index);
    attachmentThumbnails.erase(id);
    pendingHostKeys_.erase(id);
    std::optional<core::Dictionary> record;
    if (auto it = attachmentsData.find(id); it != attachmentsData.end()) {
        record = std::move(it->second);
        attachmentsData.erase(it);
    }

    // The host's entry goes too, so a later configuration does not bring it back.
    if (auto own = ParameterHelper::getParameterAsArray(params, kValue)) {
        auto match = std::find_if(own->begin(), own->end(),
                                  [&](const core::Value& element) { return hostEntryId(element) == id; });
        if (match != own->end()) {
            own->erase(match);
            params.set(kValue, core::Value(std::move(*own)));
        }
    }

    // Content still on its way was never reported, so its end is not either.
    if (!record) return;
    if (index != 0) {
        notifyContainer(std::nullopt, record);
        return;
    }
    std::weak_ptr<AttachmentFormViewDelegate> weak = weak_from_this();
    dispatch::MainQueue::shared().asyncAfter(kFirstRowDeletionDelay, [weak, record] {
        if (auto self = weak.lock()) self->notifyContainer(std::nullopt, record);
    });
}

void AttachmentFormViewDelegate::couldNotPresentAttachmentAtIndex(vessa::VUIAttachmentsViewController& /*controller*/,
                                                                  int /*index*/) {}

// ---- Actions ----------------------------------------------------------------------

void AttachmentFormViewDelegate::addCopiedPhoto(const std::optional<URL>& copied, const std::string& udid) {
    if (!copied) {
        dismissIndicator();
        return;
    }
    std::weak_ptr<AttachmentFormViewDelegate> weak = weak_from_this();
    dispatch::MainQueue::shared().async([weak, url = *copied, udid] {
        if (auto self = weak.lock()) self->addAttachment(url, url, true, udid, true);
        dismissIndicator();
    });
}

void AttachmentFormViewDelegate::addPhotoAttachmentAction(vessa::VUIAddPhotoAttachmentAction& /*action*/,
                                                          const std::shared_ptr<ui::PHAsset>& asset, const URL& url) {
    services::ActivityIndicatorView::show(core::Dictionary{{kIndicatorTextKey, core::Value("")}});
    const core::Value filename = asset && asset->hasValueForKey(ui::PHAsset::kFilenameKey)
                                     ? asset->valueForKey(ui::PHAsset::kFilenameKey)
                                     : core::Value();
    if (!filename.isString()) {
        dismissIndicator();
        return;
    }
    addCopiedPhoto(AttachmentTemporaryFiles::renameFilename(url, *filename.ifString()), asset->localIdentifier());
}

void AttachmentFormViewDelegate::addPhotoAttachmentAction(vessa::VUIAddPhotoAttachmentAction& /*action*/,
                                                          const URL& url) {
    services::ActivityIndicatorView::show(core::Dictionary{{kIndicatorTextKey, core::Value("")}});
    // The file's own name, read from its path: escapes decoded, no query.
    auto copied = AttachmentTemporaryFiles::renameFilename(url, url.lastPathComponent());
    addCopiedPhoto(copied, copied ? copied->absoluteString() : std::string());
}

void AttachmentFormViewDelegate::getFileURL(const std::shared_ptr<ui::PHAsset>& asset,
                                            std::function<void(std::optional<URL>)> completionHandler) {
    if (!asset) return;
    switch (asset->mediaType()) {
    case ui::PHAsset::MediaType::Image: asset->requestContentEditingInput(std::move(completionHandler)); break;
    case ui::PHAsset::MediaType::Video: ui::PHImageManager::requestAVAsset(asset, std::move(completionHandler)); break;
    case ui::PHAsset::MediaType::Unknown:
    case ui::PHAsset::MediaType::Audio: break;
    }
}

void AttachmentFormViewDelegate::takePhotoAttachmentAction(vessa::VUITakePhotoAttachmentAction& /*action*/,
                                                           const std::shared_ptr<ui::PHAsset>& asset, const URL& url) {
    if (!asset) return;
    std::weak_ptr<AttachmentFormViewDelegate> weak = weak_from_this();
    getFileURL(asset, [weak, previewURL = url, udid = asset->localIdentifier()](std::optional<URL> fileURL) {
        if (!fileURL) return;
        dispatch::MainQueue::shared().async([weak, fileURL = *fileURL, previewURL, udid] {
            if (auto self = weak.lock()) self->addAttachment(fileURL, previewURL, true, udid, true);
        });
    });
}

void AttachmentFormViewDelegate::takePhotoAttachmentAction(vessa::VUITakePhotoAttachmentAction& /*action*/,
                                                           const std::shared_ptr<ui::UIImage>& image) {
    auto png = image ? ui::ImageEncoder::pngData(*image) : std::nullopt;
    if (!png) return;
    const auto file = foundation::Sandbox::caches() / (foundation::UUID().uuidString() + ".png");
    {
        // A failed write shows when the content is read: the attachment is rolled back then.
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
    }
    const URL url = URL::fileURLWithPath(file);
    addAttachment(url, url, true, url.absoluteString(), true);
}

std::shared_ptr<ui::UIDocumentPickerViewController> AttachmentFormViewDelegate::documentPicker() {
    std::vector<std::string> types;
    for (const auto& ext :
         ParameterHelper::getParameterAsStringArray(params, kAllowedFileTypes).value_or(std::vector<std::string>())) {
        if (auto type = foundation::UTType::preferredIdentifier(ext)) types.push_back(*type);
    }
    if (types.empty()) types.emplace_back(foundation::UTType::kData);
    auto picker = std::make_shared<ui::UIDocumentPickerViewController>(
        std::move(types), ui::UIDocumentPickerViewController::Mode::Import);
    picker->allowsMultipleSelection = false;
    return picker;
}

void AttachmentFormViewDelegate::documentPickerAttachmentAction(vessa::VUIDocumentPickerAttachmentAction& /*action*/,
                                                                const URL& url) {
    if (auto copied = AttachmentTemporaryFiles::saveFileToTempFolder(url))
        addAttachment(*copied, *copied, true, "", true);
}

}  // namespace trc::formcells
