#include "platform/ui/UIViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"

namespace trc::ui {

namespace {

void warn(const std::string& message) { core::SharedLoggerManager::log("ui", core::Severity::warn, message); }

}  // namespace

const char* modalPresentationStyleName(UIModalPresentationStyle style) {
    switch (style) {
    case UIModalPresentationStyle::Automatic: return "automatic";
    case UIModalPresentationStyle::FullScreen: return "fullScreen";
    case UIModalPresentationStyle::PageSheet: return "pageSheet";
    case UIModalPresentationStyle::FormSheet: return "formSheet";
    case UIModalPresentationStyle::CurrentContext: return "currentContext";
    case UIModalPresentationStyle::Custom: return "custom";
    case UIModalPresentationStyle::OverFullScreen: return "overFullScreen";
    case UIModalPresentationStyle::OverCurrentContext: return "overCurrentContext";
    case UIModalPresentationStyle::Popover: return "popover";
    case UIModalPresentationStyle::None: return "none";
    }
    return "automatic";
}

const core::ClassInfo& UIViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIViewController>("UIViewController", UIResponder::classInfo())
            .constructible()
            .property("title", [](const UIViewController& vc) { return textOrNil(vc.title); })
            .property("isViewLoaded", [](const UIViewController& vc) { return core::Value(vc.isViewLoaded()); })
            .property("view", [](const UIViewController& vc) { return objectOrNil(vc.view_); })
            .property("modalPresentationStyle",
                      [](const UIViewController& vc) {
                          return core::Value(modalPresentationStyleName(vc.modalPresentationStyle));
                      })
            .property("presentedViewController",
                      [](const UIViewController& vc) { return objectOrNil(vc.presentedViewController()); })
            .property("presentingViewController",
                      [](const UIViewController& vc) { return objectOrNil(vc.presentingViewController()); })
            .property("parent", [](const UIViewController& vc) { return objectOrNil(vc.parent()); })
            .property("navigationController",
                      [](const UIViewController& vc) { return objectOrNil(vc.navigationController()); })
            .property("children", [](const UIViewController& vc) { return objectArray(vc.children()); })
            .property("isPresentedModally",
                      [](const UIViewController& vc) { return core::Value(vc.isPresentedModally()); })
            .property("isPresentedModallyInFullScreen",
                      [](const UIViewController& vc) { return core::Value(vc.isPresentedModallyInFullScreen()); })
            .property("isVisible", [](const UIViewController& vc) { return core::Value(vc.isVisible()); })
            .property("isModalInPresentation",
                      [](const UIViewController& vc) { return core::Value(vc.isModalInPresentation); })
            .property("preferredContentSize",
                      [](const UIViewController& vc) {
                          return core::Value(core::Array{core::Value(vc.preferredContentSize.width),
                                                         core::Value(vc.preferredContentSize.height)});
                      })
            .build();
    return info;
}

std::shared_ptr<UIView> UIViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) setView(std::make_shared<UIView>());
        viewDidLoad();
    }
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    if (view_) view_->owner_.reset();
    view_ = std::move(view);
    if (view_) view_->owner_ = sharedAs<UIViewController>();
}

void UIViewController::loadView() { setView(std::make_shared<UIView>()); }

void UIViewController::beginAppearanceTransition(bool appearing, bool animated) {
    if (appearing == isVisible()) return;
    transitionAnimated_ = animated;
    if (appearing) {
        loadViewIfNeeded();
        appearance_ = AppearanceState::Appearing;
        viewWillAppear(animated);
    } else {
        appearance_ = AppearanceState::Disappearing;
        viewWillDisappear(animated);
    }
    for (const auto& child : childrenForAppearance()) child->beginAppearanceTransition(appearing, animated);
}

void UIViewController::endAppearanceTransition() {
    if (appearance_ == AppearanceState::Appearing) {
        appearance_ = AppearanceState::Appeared;
        viewDidAppear(transitionAnimated_);
    } else if (appearance_ == AppearanceState::Disappearing) {
        appearance_ = AppearanceState::Disappeared;
        viewDidDisappear(transitionAnimated_);
    } else {
        return;
    }
    for (const auto& child : childrenForAppearance()) child->endAppearanceTransition();
}

void UIViewController::runTransition(const std::vector<std::pair<std::shared_ptr<UIViewController>, bool>>& changes,
                                     bool animated, Completion completion) {
    for (const auto& [vc, appearing] : changes) vc->beginAppearanceTransition(appearing, animated);
    dispatch::MainQueue::shared().async([changes, completion = std::move(completion)] {
        for (const auto& [vc, appearing] : changes) {
            // A later transition may have turned this one around; it finishes that one.
            auto expected = appearing ? AppearanceState::Appearing : AppearanceState::Disappearing;
            if (vc->appearance_ == expected) vc->endAppearanceTransition();
        }
        if (completion) completion();
    });
}

void UIViewController::addChild(const std::shared_ptr<UIViewController>& child) {
    if (!child || child.get() == this || child->parent().get() == this) return;
    for (auto p = parent(); p; p = p->parent()) {
        if (p == child) {
            warn("a view controller cannot become a child of its own descendant; ignored");
            return;
        }
    }
    child->removeFromParent();
    children_.push_back(child);
    child->parent_ = sharedAs<UIViewController>();
}

void UIViewController::removeFromParent() {
    auto p = parent();
    parent_.reset();
    if (!p) return;
    std::erase_if(p->children_, [this](const auto& c) { return c.get() == this; });
}

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    for (auto p = parent(); p; p = p->parent()) {
        if (auto nav = std::dynamic_pointer_cast<UINavigationController>(p)) return nav;
    }
    return nullptr;
}

std::shared_ptr<UIViewController> UIViewController::presentationRoot() {
    auto c = sharedAs<UIViewController>();
    while (auto p = c->parent()) c = p;
    return c;
}

void UIViewController::present(const std::shared_ptr<UIViewController>& vc, bool animated, Completion completion) {
    auto root = presentationRoot();
    if (!vc || vc == root || vc->parent() || !vc->presenting_.expired()) {
        warn("present: the view controller is missing, already presented or a child of another; ignored");
        return;
    }
    if (root->presented_) {
        warn("present: " + root->className() + " already presents " + root->presented_->className() + "; ignored");
        return;
    }
    root->presented_ = vc;
    vc->presenting_ = root;
    vc->beingPresented_ = true;
    auto shown = vc->view();
    if (auto window = root->responderWindow()) {
        shown->setFrame(window->bounds());
        window->addSubview(shown);
    }
    std::vector<std::pair<std::shared_ptr<UIViewController>, bool>> changes{{vc, true}};
    if (vc->modalPresentationStyle == UIModalPresentationStyle::FullScreen && root->isVisible()) {
        changes.emplace_back(root, false);
        vc->hidPresenter_ = true;
    }
    runTransition(changes, animated, [vc, completion = std::move(completion)] {
        vc->beingPresented_ = false;
        if (completion) completion();
    });
}

void UIViewController::dismiss(bool animated, Completion completion) {
    auto root = presentationRoot();
    std::shared_ptr<UIViewController> presenter = root->presented_ ? root : root->presenting_.lock();
    if (!presenter || !presenter->presented_) {
        warn("dismiss: " + className() + " neither presents nor is presented");
        dispatch::MainQueue::shared().async([completion = std::move(completion)] {
            if (completion) completion();
        });
        return;
    }
    std::vector<std::shared_ptr<UIViewController>> chain;
    for (auto c = presenter->presented_; c; c = c->presented_) chain.push_back(c);

    std::vector<std::pair<std::shared_ptr<UIViewController>, bool>> changes;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) changes.emplace_back(*it, false);
    if (chain.front()->hidPresenter_) changes.emplace_back(presenter, true);

    presenter->presented_.reset();
    for (const auto& c : chain) {
        c->presented_.reset();
        c->presenting_.reset();
        c->hidPresenter_ = false;
        c->beingDismissed_ = true;
        if (c->view_) c->view_->removeFromSuperview();
    }
    runTransition(changes, animated, [chain, completion = std::move(completion)] {
        for (const auto& c : chain) c->beingDismissed_ = false;
        if (completion) completion();
    });
}

std::shared_ptr<UIViewController> UIViewController::presentedViewController() const {
    auto c = sharedAs<UIViewController>();
    while (auto p = c->parent()) c = p;
    return c->presented_;
}

std::shared_ptr<UIViewController> UIViewController::presentingViewController() const {
    auto c = sharedAs<UIViewController>();
    while (auto p = c->parent()) c = p;
    return c->presenting_.lock();
}

bool UIViewController::isPresentedModally() const {
    auto presenter = presenting_.lock();
    if (presenter && presenter->presented_.get() == this) return true;
    auto p = parent();
    return p ? p->isPresentedModally() : false;
}

bool UIViewController::isPresentedModallyInFullScreen() const {
    auto presenter = presenting_.lock();
    if (presenter && presenter->presented_.get() == this &&
        (modalPresentationStyle == UIModalPresentationStyle::FullScreen ||
         modalPresentationStyle == UIModalPresentationStyle::OverFullScreen)) {
        return true;
    }
    auto p = parent();
    return p ? p->isPresentedModallyInFullScreen() : false;
}

std::shared_ptr<UIResponder> UIViewController::nextResponder() const {
    if (view_) {
        if (auto s = view_->superview()) return s;
    }
    if (auto p = parent()) return p;
    return presenting_.lock();
}

std::shared_ptr<UIWindow> UIViewController::responderWindow() const { return view_ ? view_->window() : nullptr; }

}  // namespace trc::ui
