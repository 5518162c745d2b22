#include "platform/ui/UIAlertController.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UIAlertController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIAlertController>("UIAlertController", UIViewController::classInfo())
            .constructible()
            .property("message", [](const UIAlertController& a) { return textOrNil(a.message); })
            .property("preferredStyle",
                      [](const UIAlertController& a) {
                          return core::Value(a.preferredStyle == Style::Alert ? "alert" : "actionSheet");
                      })
            .property("actions",
                      [](const UIAlertController& a) {
                          core::Array titles;
                          for (const auto& t : a.actionTitles()) titles.emplace_back(t);
                          return core::Value(std::move(titles));
                      })
            .build();
    return info;
}

UIAlertController::UIAlertController() { modalPresentationStyle = UIModalPresentationStyle::Custom; }

std::shared_ptr<UIAlertController> UIAlertController::make(std::optional<std::string> title,
                                                           std::optional<std::string> message, Style style) {
    auto alert = std::make_shared<UIAlertController>();
    alert->title = std::move(title);
    alert->message = std::move(message);
    alert->preferredStyle = style;
    return alert;
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
    if (action) actions_.push_back(action);
}

std::vector<std::string> UIAlertController::actionTitles() const {
    std::vector<std::string> titles;
    for (const auto& a : actions_) titles.push_back(a->title.value_or(""));
    return titles;
}

bool UIAlertController::tapAction(std::size_t index) {
    if (index >= actions_.size()) {
        core::SharedLoggerManager::log("ui", core::Severity::warn,
                                       "alert: no action at index " + std::to_string(index));
        return false;
    }
    auto action = actions_[index];
    if (tapped_ || !action->isEnabled) return false;
    tapped_ = true;
    dismiss(true, [action] {
        if (action->handler) action->handler(*action);
    });
    return true;
}

bool UIAlertController::tapAction(const std::string& wanted) {
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        if (actions_[i]->title && *actions_[i]->title == wanted) return tapAction(i);
    }
    core::SharedLoggerManager::log("ui", core::Severity::warn, "alert: no action titled \"" + wanted + "\"");
    return false;
}

}  // namespace trc::ui
