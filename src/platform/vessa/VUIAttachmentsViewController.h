#pragma once
// The attachments view controller of the attachments form cell: a row of
// attachment icons under a title, a delete button on each, and the actions
// that add attachments. What it shows it asks of its data source on
// reloadData(); what a person does it tells its delegate (deletes) or the
// chosen action's delegate (additions).
//
// A new controller offers the three default actions (add photo, take photo,
// select file), in that order. The title is customAttachmentsTitleFormat
// (else "Attachments (%d)") with its "%d" or "%ld" replaced by the number
// of attachments shown.
//
// Person entries: pressDelete(index) takes the attachment off the display
// and tells the delegate; openAttachment(index) opens it, or tells the
// delegate it could not; the actions have their own entries.
//
// Owned by its cell; data source and delegate are held weakly. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIAttachmentsViewControllerDataSource.h"
#include "platform/vessa/VUIAttachmentsViewControllerDelegate.h"

namespace trc::vessa {

class VUIAttachmentAction;

class VUIAttachmentsViewController : public ui::UIViewController {
    TRC_OBJECT(VUIAttachmentsViewController)
public:
    static constexpr const char* kDefaultTitleFormat = "Attachments (%d)";
    static constexpr const char* kDefaultCancelString = "Cancel";

    // Builds with the default actions.
    static std::shared_ptr<VUIAttachmentsViewController> make();

    std::optional<std::string> customCancelString;
    std::optional<std::string> customAttachmentsTitleFormat;

    std::shared_ptr<VUIAttachmentsViewControllerDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(const std::shared_ptr<VUIAttachmentsViewControllerDataSource>& dataSource) {
        dataSource_ = dataSource;
    }
    std::shared_ptr<VUIAttachmentsViewControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<VUIAttachmentsViewControllerDelegate>& delegate) { delegate_ = delegate; }
    // A data source or delegate of a class that answers the protocol, held
    // weakly without first being made a shared one of the protocol.
    template <class Source>
    requires std::is_convertible_v<Source*, VUIAttachmentsViewControllerDataSource*>
    void setDataSource(const std::shared_ptr<Source>& dataSource) { dataSource_ = dataSource; }
    template <class Delegate>
    requires std::is_convertible_v<Delegate*, VUIAttachmentsViewControllerDelegate*>
    void setDelegate(const std::shared_ptr<Delegate>& delegate) { delegate_ = delegate; }

    const std::vector<std::shared_ptr<VUIAttachmentAction>>& attachmentActions() const { return actions_; }
    void addAttachmentAction(const std::shared_ptr<VUIAttachmentAction>& action);
    void removeAllAttachmentActions();
    // Offers actions (nulls skipped) in place of those offered now, which
    // come back in actions, in the order they were offered. An action offered before and after stays as it
    // was; one that leaves no longer refers to this controller, as after
    // removeAllAttachmentActions. A reused cell's actions change this way
    // without taking every action off and putting it back.
    void replaceAttachmentActions(std::vector<std::shared_ptr<VUIAttachmentAction>>& actions);
    // The first action of that kind ("AddPhoto", "TakePhoto", "SelectFile"), if offered.
    std::shared_ptr<VUIAttachmentAction> actionOfKind(const std::string& kind) const;

    // Asks the data source again for everything shown.
    void reloadData();
    int reloadCount() const { return reloadCount_; }

    // What is shown, as of the last reloadData (and deletes since).
    struct Shown {
        std::optional<foundation::URL> url;
        std::optional<VUIAttachmentsViewControllerDataSource::Icon> icon;
    };
    const std::vector<Shown>& shownAttachments() const { return shown_; }
    std::string attachmentsTitle() const;
    std::string cancelString() const { return customCancelString.value_or(kDefaultCancelString); }

    // Person entries; false when there is no attachment at index.
    bool pressDelete(int index);
    bool openAttachment(int index);
    // The address last opened by openAttachment.
    const std::optional<foundation::URL>& presentedAttachmentURL() const { return presented_; }

private:
    std::weak_ptr<VUIAttachmentsViewControllerDataSource> dataSource_;
    std::weak_ptr<VUIAttachmentsViewControllerDelegate> delegate_;
    std::vector<std::shared_ptr<VUIAttachmentAction>> actions_;
    std::vector<Shown> shown_;
    std::optional<foundation::URL> presented_;
    int reloadCount_ = 0;
};

}  // namespace trc::vessa
