#include "services/ActivityIndicatorView.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIWindow.h"

namespace trc::services {

namespace {

void warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

std::shared_ptr<ActivityIndicatorView>& instance() {
    static std::shared_ptr<ActivityIndicatorView>& held = []() -> auto& {
        static std::shared_ptr<ActivityIndicatorView> indicator;
        core::ProcessState::registerReset("services.ActivityIndicatorView", [] {
            if (indicator) indicator->removeFromSuperview();
            indicator.reset();
        });
        return indicator;
    }
    ();
    return held;
}

std::optional<std::string> textFrom(const core::Dictionary& params, const char* key) {
    const core::Value* v = params.find(key);
    if (!v || v->isNil()) return std::nullopt;
    if (const std::string* s = v->ifString()) return *s;
    warn(std::string("loading indicator \"") + key + "\" is not a text; none is shown");
    return std::nullopt;
}

std::shared_ptr<ui::UIView> placeFrom(const core::Dictionary& params) {
    if (const core::Value* v = params.find(ActivityIndicatorView::kViewKey); v && !v->isNil()) {
        if (auto view = v->ifObjectOf<ui::UIView>()) return view;
        warn(std::string("loading indicator \"") + ActivityIndicatorView::kViewKey +
             "\" is not a view; the key window is used");
    }
    return ui::UIApplication::shared()->keyWindow();
}

}  // namespace

const core::ClassInfo& ActivityIndicatorView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<ActivityIndicatorView>("ActivityIndicatorView", ui::UIView::classInfo())
            .property("text", [](const ActivityIndicatorView& a) { return ui::textOrNil(a.text()); })
            .property("subText", [](const ActivityIndicatorView& a) { return ui::textOrNil(a.subText()); })
            .property("isAnimating", [](const ActivityIndicatorView& a) { return core::Value(a.isAnimating()); })
            .build();
    return info;
}

ActivityIndicatorView::ActivityIndicatorView() {
    addSubview(textLabel_);
    addSubview(subTextLabel_);
    textLabel_->numberOfLines = 0;
    subTextLabel_->numberOfLines = 0;
    textLabel_->textAlignment = ui::UILabel::Alignment::Center;
    subTextLabel_->textAlignment = ui::UILabel::Alignment::Center;
}

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::shared() {
    auto& held = instance();
    if (!held) held = std::make_shared<ActivityIndicatorView>();
    return held;
}

bool ActivityIndicatorView::isShown() {
    const auto& held = instance();
    return held && held->superview();
}

void ActivityIndicatorView::setTexts(std::optional<std::string> text, std::optional<std::string> subText) {
    textLabel_->text = std::move(text);
    subTextLabel_->text = std::move(subText);
    subTextLabel_->setHidden(!subTextLabel_->text);
}

void ActivityIndicatorView::show(const core::Dictionary& params) {
    auto indicator = shared();
    indicator->setTexts(textFrom(params, kTextKey), textFrom(params, kSubTextKey));
    std::shared_ptr<ui::UIView> place = placeFrom(params);
    indicator->removeFromSuperview();
    if (!place) {
        warn("no view and no key window to show the loading indicator in; it is not shown");
        return;
    }
    ui::UIView::performWithoutAnimation([&] {
        indicator->setFrame(place->bounds());
        place->addSubview(indicator);
    });
}

void ActivityIndicatorView::dismiss() {
    if (const auto& held = instance()) held->removeFromSuperview();
}

}  // namespace trc::services
