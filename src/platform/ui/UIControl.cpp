#include "platform/ui/UIControl.h"

#include <algorithm>
#include <array>
#include <span>

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
    actions_.push_back({id, event, action ? std::make_shared<const Action>(std::move(action)) : nullptr});
    return id;
}

void UIControl::removeAction(std::uint64_t id) {
    std::erase_if(actions_, [id](const Entry& e) { return e.id == id; });
}

void UIControl::sendActions(Event event) {
    auto keep = sharedAs<UIControl>();
    // The event's actions as they are now; a few fit on the stack.
    constexpr std::size_t kOnStack = 8;
    std::array<std::shared_ptr<const Action>, kOnStack> onStack;
    std::vector<std::shared_ptr<const Action>> onHeap;
    const auto count = static_cast<std::size_t>(std::count_if(
        actions_.begin(), actions_.end(), [event](const Entry& e) { return e.event == event && e.action; }));
    if (count > kOnStack) onHeap.resize(count);
    const std::span<std::shared_ptr<const Action>> snapshot(count > kOnStack ? onHeap.data() : onStack.data(), count);
    std::size_t taken = 0;
    for (const auto& e : actions_) {
        if (e.event == event && e.action) snapshot[taken++] = e.action;
    }
    for (const auto& action : snapshot) (*action)(*this);
}

std::size_t UIControl::actionCount(Event event) const {
    return static_cast<std::size_t>(
        std::count_if(actions_.begin(), actions_.end(), [event](const Entry& e) { return e.event == event; }));
}

}  // namespace trc::ui
