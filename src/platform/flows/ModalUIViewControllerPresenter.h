#pragma once
// Shows flow screens modally: each screen is presented from the view
// controller on top (by default the top of the key window's presentation
// chain), so screens stack; dismiss takes down everything this presenter put
// up. Completions run on the main queue once the screen is shown or gone;
// with nothing on screen to present from, the present completion gets an
// error. The info text is kept (and logged) for whoever shows it.
// Main thread; holds its screens weakly.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "platform/flows/FlowPresentationDelegate.h"

namespace trc::flows {

class ModalUIViewControllerPresenter : public core::Object, public FlowPresentationDelegate {
    TRC_OBJECT(ModalUIViewControllerPresenter)
public:
    using TopViewControllerHandler = std::function<std::shared_ptr<ui::UIViewController>()>;

    ModalUIViewControllerPresenter();
    explicit ModalUIViewControllerPresenter(TopViewControllerHandler handler);
    // The top of the key window's presentation chain, or nullptr.
    static std::shared_ptr<ui::UIViewController> defaultTopViewController();

    void present(std::shared_ptr<ui::UIViewController> viewController, PresentCompletion completion) override;
    void dismiss(std::function<void()> completion) override;
    void setInfoText(const std::string& text) override;

    const std::optional<std::string>& infoText() const { return infoText_; }
    // What this presenter has on screen now, lowest first.
    std::vector<std::shared_ptr<ui::UIViewController>> presentedViewControllers() const;

private:
    TopViewControllerHandler handler_;
    std::vector<std::weak_ptr<ui::UIViewController>> presented_;
    std::optional<std::string> infoText_;
};

}  // namespace trc::flows
