#pragma once
// How flow steps show their screens: present a view controller (the
// completion runs once it is on screen, with an error when it cannot be
// shown), dismiss what was presented (the completion runs once it is gone),
// and show a short information text. Main thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/flows/Error.h"

namespace trc::ui {
class UIViewController;
}

namespace trc::flows {

class FlowPresentationDelegate {
public:
    using PresentCompletion = std::function<void(ErrorPtr)>;

    virtual ~FlowPresentationDelegate() = default;

    virtual void present(std::shared_ptr<ui::UIViewController> viewController, PresentCompletion completion) = 0;
    virtual void dismiss(std::function<void()> completion) = 0;
    virtual void setInfoText(const std::string& text) = 0;
};

}  // namespace trc::flows
