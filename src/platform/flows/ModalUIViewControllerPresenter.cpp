#include "platform/flows/ModalUIViewControllerPresenter.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/flows/Logger.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

namespace trc::flows {

const core::ClassInfo& ModalUIViewControllerPresenter::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<ModalUIViewControllerPresenter>("ModalUIViewControllerPresenter", core::Object::classInfo())
            .constructible()
            .property("infoText", [](const ModalUIViewControllerPresenter& p) { return ui::textOrNil(p.infoText_); })
            .build();
    return info;
}

ModalUIViewControllerPresenter::ModalUIViewControllerPresenter() : handler_(defaultTopViewController) {}

ModalUIViewControllerPresenter::ModalUIViewControllerPresenter(TopViewControllerHandler handler)
    : handler_(handler ? std::move(handler) : TopViewControllerHandler(defaultTopViewController)) {}

std::shared_ptr<ui::UIViewController> ModalUIViewControllerPresenter::defaultTopViewController() {
    auto window = ui::UIApplication::shared()->keyWindow();
    if (!window) return nullptr;
    auto top = window->rootViewController();
    while (top && top->presentedViewController()) top = top->presentedViewController();
    return top;
}

void ModalUIViewControllerPresenter::present(std::shared_ptr<ui::UIViewController> viewController,
                                             PresentCompletion completion) {
    auto top = handler_ ? handler_() : nullptr;
    if (!viewController || !top) {
        dispatch::MainQueue::shared().async([completion] {
            if (completion) completion(std::make_shared<UnexpectedError>("there is no screen to present from"));
        });
        return;
    }
    std::erase_if(presented_, [](const auto& w) { return w.expired(); });
    presented_.push_back(viewController);
    top->present(viewController, true, [completion] {
        if (completion) completion(nullptr);
    });
}

std::vector<std::shared_ptr<ui::UIViewController>> ModalUIViewControllerPresenter::presentedViewControllers() const {
    std::vector<std::shared_ptr<ui::UIViewController>> out;
    for (const auto& w : presented_)
        if (auto vc = w.lock(); vc && vc->presentingViewController()) out.push_back(vc);
    return out;
}

void ModalUIViewControllerPresenter::dismiss(std::function<void()> completion) {
    auto shown = presentedViewControllers();
    presented_.clear();
    if (shown.empty()) {
        dispatch::MainQueue::shared().async([completion] {
            if (completion) completion();
        });
        return;
    }
    // Dismissing the lowest takes down everything presented above it.
    shown.front()->presentingViewController()->dismiss(true, [completion] {
        if (completion) completion();
    });
}

void ModalUIViewControllerPresenter::setInfoText(const std::string& text) {
    infoText_ = text;
    Logger::shared("ZEL.Flows.ModalUIViewControllerPresenter")->info(text);
}

}  // namespace trc::flows
