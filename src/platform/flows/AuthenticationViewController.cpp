#include "platform/flows/AuthenticationViewController.h"

#include "platform/core/ClassInfo.h"

namespace trc::flows {

const core::ClassInfo& AuthenticationViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<AuthenticationViewController>("AuthenticationViewController",
                                                         ui::UIViewController::classInfo())
            .constructible()
            .property("authorizationURL",
                      [](const AuthenticationViewController& c) { return core::Value(c.authorizationURL); })
            .property("cancelButton",
                      [](const AuthenticationViewController& c) { return core::Value(c.cancelButton_); })
            .property("hasEnded", [](const AuthenticationViewController& c) { return core::Value(c.ended_); })
            .build();
    return info;
}

AuthenticationViewController::AuthenticationViewController() {
    title = "Sign In";
    cancelButton_->setTitle("Cancel");
}

bool AuthenticationViewController::navigate(const std::string& url) {
    if (ended_) return false;
    // Ended before the handler runs: what it does may end in another entry.
    if (onNavigation) {
        ended_ = true;
        ended_ = onNavigation(url);
    }
    return true;
}

bool AuthenticationViewController::cancel() {
    if (ended_ || cancelButton_->isHidden() || !cancelButton_->isEnabled()) return false;
    ended_ = true;
    if (onCancel) onCancel();
    return true;
}

}  // namespace trc::flows
