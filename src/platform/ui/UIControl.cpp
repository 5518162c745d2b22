#include "platform/ui/UIControl.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UIControl::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIControl>("UIControl", UIView::classInfo())
            .constructible()
            .property("isEnabled", [](const UIControl& c) { return core::Value(c.isEnabled()); })
            .property("isSelected", [](const UIControl& c) { return core::Value(c.isSelected); })
            .build();
    return info;
}

std::uint64_t UIControl::addAction(Event event, Action action) {
    std::uint64_t id = nextId_++;
    actions_.push_back({id, event, std::move(action)});
    return id;
}

void UIControl::removeAction(std::uint64_t id) {
    std::erase_if(actions_, [id](const Entry& e) { return e.id == id; });
}

void UIControl::sendActions(Event event) {
    auto keep = sharedAs<UIControl>();
    auto snapshot = actions_;
    for (const auto& e : snapshot) {
        if (e.event == event && e.action) e.action(*this);
    }
}

std::size_t UIControl::actionCount(Event event) const {
    return static_cast<std::size_t>(
        std::count_if(actions_.begin(), actions_.end(), [event](const Entry& e) { return e.event == event; }));
}

}  // namespace trc::ui
