#pragma once
// The sign-in screen: shows the authorization page (its URL) and ends in one
// of three ways, as the person does it: signed in (success), refused by the
// server (failure), or cancelled (also the cancel button). It ends once; the
// owner hears of it through onOutcome, which it should bind weakly.
// Main thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/UIButton.h"
#include "platform/ui/UIViewController.h"

namespace trc::flows {

class AuthenticationViewController : public ui::UIViewController {
    TRC_OBJECT(AuthenticationViewController)
public:
    enum class Outcome { success, failure, cancel };

    AuthenticationViewController();

    std::string authorizationURL;
    const std::shared_ptr<ui::UIButton>& cancelButton() const { return cancelButton_; }
    std::function<void(Outcome)> onOutcome;

    // The person's entry; false once the screen has ended.
    bool finish(Outcome outcome);
    static std::optional<Outcome> outcomeNamed(const std::string& name);

private:
    bool ended_ = false;
    std::shared_ptr<ui::UIButton> cancelButton_ = std::make_shared<ui::UIButton>();
};

}  // namespace trc::flows
