#include "platform/flows/VUIEULAViewController.h"

#include "platform/core/ClassInfo.h"

namespace trc::flows {

namespace {
bool tap(const ui::UIButton& button, const std::function<void()>& handler) {
    if (!button.acceptsUserInput()) return false;
    if (handler) handler();
    return true;
}
}  // namespace

const core::ClassInfo& VUIEULAViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIEULAViewController>("VUIEULAViewController", ui::UIViewController::classInfo())
            .constructible()
            .property("titleLabel", [](const VUIEULAViewController& c) { return core::Value(c.titleLabel); })
            .property("contentLabel", [](const VUIEULAViewController& c) { return core::Value(c.contentLabel); })
            .property("confirmButton", [](const VUIEULAViewController& c) { return core::Value(c.confirmButton); })
            .property("rejectButton", [](const VUIEULAViewController& c) { return core::Value(c.rejectButton); })
            .property("cancelButton", [](const VUIEULAViewController& c) { return core::Value(c.cancelButton); })
            .build();
    return info;
}

VUIEULAViewController::VUIEULAViewController() {
    confirmButton->setTitle("Agree");
    rejectButton->setTitle("Disagree");
    cancelButton->setTitle("Cancel");
    contentLabel->numberOfLines = 0;
}

bool VUIEULAViewController::accept() { return tap(*confirmButton, onAccept); }
bool VUIEULAViewController::reject() { return tap(*rejectButton, onReject); }
bool VUIEULAViewController::cancel() { return tap(*cancelButton, onCancel); }

}  // namespace trc::flows
