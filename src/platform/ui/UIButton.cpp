#include "platform/ui/UIButton.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/TextAssignment.h"
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

void UIButton::setTitle(std::optional<std::string_view> title, State state) {
    if (!title) {
        titles_.erase(state);
    } else if (auto it = titles_.find(state); it != titles_.end()) {
        core::assignText(it->second, *title);
    } else {
        titles_.emplace(state, *title);
    }
}

const std::string* UIButton::titleText(State state) const {
    auto it = titles_.find(state);
    if (it == titles_.end()) it = titles_.find(State::Normal);
    return it == titles_.end() ? nullptr : &it->second;
}

std::optional<std::string> UIButton::title(State state) const {
    const std::string* text = titleText(state);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

const std::string* UIButton::currentTitleText() const {
    if (!isEnabled()) return titleText(State::Disabled);
    if (isSelected) return titleText(State::Selected);
    return titleText(State::Normal);
}

std::optional<std::string> UIButton::currentTitle() const {
    const std::string* text = currentTitleText();
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

bool UIButton::press() {
    if (!acceptsUserInput()) return false;
    sendActions(Event::TouchUpInside);
    sendActions(Event::PrimaryActionTriggered);
    return true;
}

}  // namespace trc::ui
