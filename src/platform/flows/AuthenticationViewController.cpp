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
            .property("cancelButton", [](const AuthenticationViewController& c) { return core::Value(c.cancelButton_); })
            .build();
    return info;
}

AuthenticationViewController::AuthenticationViewController() {
    title = "Sign In";
    cancelButton_->setTitle("Cancel");
}

std::optional<AuthenticationViewController::Outcome> AuthenticationViewController::outcomeNamed(const std::string& name) {
    if (name == "success") return Outcome::success;
    if (name == "failure") return Outcome::failure;
    if (name == "cancel") return Outcome::cancel;
    return std::nullopt;
}

bool AuthenticationViewController::finish(Outcome outcome) {
    if (ended_) return false;
    if (outcome == Outcome::cancel && (cancelButton_->isHidden() || !cancelButton_->isEnabled())) return false;
    ended_ = true;
    if (onOutcome) onOutcome(outcome);
    return true;
}

}  // namespace trc::flows
