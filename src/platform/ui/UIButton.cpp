#include "platform/ui/UIButton.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UIButton::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIButton>("UIButton", UIControl::classInfo())
            .constructible()
            .property("title", [](const UIButton& b) { return textOrNil(b.title()); })
            .property("currentTitle", [](const UIButton& b) { return textOrNil(b.currentTitle()); })
            .property("tintColor", [](const UIButton& b) { return core::Value(b.tintColor); })
            .build();
    return info;
}

void UIButton::setTitle(std::optional<std::string> title, State state) {
    if (title) {
        titles_[state] = std::move(*title);
    } else {
        titles_.erase(state);
    }
}

std::optional<std::string> UIButton::title(State state) const {
    auto it = titles_.find(state);
    if (it == titles_.end()) it = titles_.find(State::Normal);
    if (it == titles_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> UIButton::currentTitle() const {
    if (!isEnabled()) return title(State::Disabled);
    if (isSelected) return title(State::Selected);
    return title(State::Normal);
}

bool UIButton::press() {
    if (!acceptsUserInput()) return false;
    sendActions(Event::TouchUpInside);
    sendActions(Event::PrimaryActionTriggered);
    return true;
}

}  // namespace trc::ui
