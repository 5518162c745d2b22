#pragma once
// The sign-in screen: shows the authorization page (its URL) in a web view or
// the system's web authentication session. The page reports each URL the
// authorization server sends the person to, query and all (navigate); the
// owner's onNavigation decides whether that URL ends the sign-in (the
// redirect URL) or is a page on the way. The person may also cancel (also the
// cancel button). The screen ends once: after a URL that ended the sign-in or
// a cancel it takes no more entries. The owner should bind its handlers
// weakly. Main thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/UIButton.h"
#include "platform/ui/UIViewController.h"

namespace trc::flows {

class AuthenticationViewController : public ui::UIViewController {
    TRC_OBJECT(AuthenticationViewController)
public:
    AuthenticationViewController();

    std::string authorizationURL;
    const std::shared_ptr<ui::UIButton>& cancelButton() const { return cancelButton_; }
    // True when the URL ends the sign-in.
    std::function<bool(const std::string& url)> onNavigation;
    std::function<void()> onCancel;

    // The page was sent to url; false once the screen has ended.
    bool navigate(const std::string& url);
    // The person's cancel; false once the screen has ended or while the
    // cancel button is hidden or disabled.
    bool cancel();
    bool hasEnded() const { return ended_; }

private:
    bool ended_ = false;
    std::shared_ptr<ui::UIButton> cancelButton_ = std::make_shared<ui::UIButton>();
};

}  // namespace trc::flows
