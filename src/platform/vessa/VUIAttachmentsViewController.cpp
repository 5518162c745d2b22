#include "platform/vessa/VUIAttachmentsViewController.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentAction.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"

namespace trc::vessa {

namespace {

core::Value shownURLs(const std::vector<VUIAttachmentsViewController::Shown>& shown) {
    core::Array out;
    for (const auto& s : shown) out.push_back(s.url ? core::Value(s.url->absoluteString()) : core::Value());
    return core::Value(std::move(out));
}

}  // namespace

const core::ClassInfo& VUIAttachmentsViewController::classInfo() {
    using C = VUIAttachmentsViewController;
    static const core::ClassInfo& info =
        core::ClassBuilder<C>("VUIAttachmentsViewController", ui::UIViewController::classInfo())
            .factory([] { return std::static_pointer_cast<core::Object>(make()); })
            .property("numberOfAttachments", [](const C& c) { return core::Value(static_cast<int>(c.shown_.size())); })
            .property("attachmentURLs", [](const C& c) { return shownURLs(c.shown_); })
            .property(
                "iconSizes",
                [](const C& c) {
                    core::Array out;
                    for (const auto& s : c.shown_) {
                        const auto image = s.icon ? s.icon->image : nullptr;
                        out.push_back(image ? core::Value(core::Array{core::Value(static_cast<int>(image->width())),
                                                                      core::Value(static_cast<int>(image->height()))})
                                            : core::Value());
                    }
                    return core::Value(std::move(out));
                })
            .property("actions",
                      [](const C& c) {
                          core::Array out;
                          for (const auto& a : c.actions_) out.emplace_back(a->kindName());
                          return core::Value(std::move(out));
                      })
            .property("attachmentActions", [](const C& c) { return ui::objectArray(c.actions_); })
            .property("attachmentsTitle", [](const C& c) { return core::Value(c.attachmentsTitle()); })
            .property("cancelString", [](const C& c) { return core::Value(c.cancelString()); })
            .property("reloadCount", [](const C& c) { return core::Value(c.reloadCount_); })
            .property(
                "presentedAttachmentURL",
                [](const C& c) { return c.presented_ ? core::Value(c.presented_->absoluteString()) : core::Value(); })
            .build();
    return info;
}

std::shared_ptr<VUIAttachmentsViewController> VUIAttachmentsViewController::make() {
    auto controller = std::make_shared<VUIAttachmentsViewController>();
    controller->addAttachmentAction(std::make_shared<VUIAddPhotoAttachmentAction>());
    controller->addAttachmentAction(std::make_shared<VUITakePhotoAttachmentAction>());
    controller->addAttachmentAction(std::make_shared<VUIDocumentPickerAttachmentAction>());
    return controller;
}

void VUIAttachmentsViewController::addAttachmentAction(const std::shared_ptr<VUIAttachmentAction>& action) {
    if (!action) return;
    action->controller_ = std::static_pointer_cast<VUIAttachmentsViewController>(shared_from_this());
    actions_.push_back(action);
}

void VUIAttachmentsViewController::removeAllAttachmentActions() {
    for (const auto& action : actions_) action->controller_.reset();
    actions_.clear();
}

void VUIAttachmentsViewController::replaceAttachmentActions(
    std::vector<std::shared_ptr<VUIAttachmentAction>>& actions) {
    actions_.swap(actions);
    std::erase(actions_, nullptr);
    const auto offered = [this](const VUIAttachmentAction* action) {
        return std::any_of(actions_.begin(), actions_.end(), [&](const auto& a) { return a.get() == action; });
    };
    for (const auto& left : actions) {
        if (left && !offered(left.get())) left->controller_.reset();
    }
    // Told apart by their shared state alone, which takes no count.
    const std::weak_ptr<core::Object> self = weak_from_this();
    const auto isMine = [&](const VUIAttachmentAction& action) {
        return !action.controller_.owner_before(self) && !self.owner_before(action.controller_);
    };
    for (const auto& action : actions_) {
        if (!isMine(*action)) action->controller_ = std::static_pointer_cast<VUIAttachmentsViewController>(self.lock());
    }
}

std::shared_ptr<VUIAttachmentAction> VUIAttachmentsViewController::actionOfKind(const std::string& kind) const {
    for (const auto& action : actions_) {
        if (action->kindName() == kind) return action;
    }
    return nullptr;
}

void VUIAttachmentsViewController::reloadData() {
    ++reloadCount_;
    shown_.clear();
    auto source = dataSource();
    if (!source) return;
    const int count = source->numberOfAttachments(*this);
    for (int i = 0; i < count; ++i) {
        shown_.push_back({source->urlForAttachmentAtIndex(*this, i), source->iconForAttachmentAtIndex(*this, i)});
    }
}

std::string VUIAttachmentsViewController::attachmentsTitle() const {
    std::string title = customAttachmentsTitleFormat.value_or(kDefaultTitleFormat);
    const std::string count = std::to_string(shown_.size());
    for (const char* spec : {"%ld", "%d"}) {
        if (const auto at = title.find(spec); at != std::string::npos)
            return title.replace(at, std::string(spec).size(), count);
    }
    return title;
}

bool VUIAttachmentsViewController::pressDelete(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) return false;
    shown_.erase(shown_.begin() + index);
    if (auto d = delegate()) d->didPressDeleteAtIndex(*this, index);
    return true;
}

bool VUIAttachmentsViewController::openAttachment(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) return false;
    const auto& url = shown_[static_cast<std::size_t>(index)].url;
    if (url) {
        presented_ = url;
    } else if (auto d = delegate()) {
        d->couldNotPresentAttachmentAtIndex(*this, index);
    }
    return true;
}

}  // namespace trc::vessa
