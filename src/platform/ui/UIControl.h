#pragma once
// The base of views a person operates (buttons, switches, text fields):
// enabled/selected state and actions per event.
//
// Actions are std::functions; one that reaches back to its owner captures
// it weakly and does nothing when the owner is gone. sendActions() runs the
// actions of an event in the order they were added, as they were when it
// began, so an action may add or remove actions; sending allocates nothing
// while an event has at most a few actions. Main thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/UIView.h"

namespace trc::ui {

class UIControl : public UIView {
    TRC_OBJECT(UIControl)
public:
    enum class Event {
        TouchUpInside,
        ValueChanged,
        PrimaryActionTriggered,
        EditingDidBegin,
        EditingChanged,
        EditingDidEnd,
        EditingDidEndOnExit
    };
    enum class State { Normal, Highlighted, Disabled, Selected };
    using Action = std::function<void(UIControl& sender)>;

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isSelected = false;

    // Returns an id for removeAction.
    std::uint64_t addAction(Event event, Action action);
    void removeAction(std::uint64_t id);
    void removeAllActions() { actions_.clear(); }
    void sendActions(Event event);
    std::size_t actionCount(Event event) const;

    // Whether a person could operate the control now: enabled, shown and
    // taking touches.
    bool acceptsUserInput() const { return enabled_ && !isHidden() && isUserInteractionEnabled; }

private:
    struct Entry {
        std::uint64_t id;
        Event event;
        // Shared, so a send can hold on to it while the action goes away.
        std::shared_ptr<const Action> action;
    };
    bool enabled_ = true;
    std::uint64_t nextId_ = 1;
    std::vector<Entry> actions_;
};

}  // namespace trc::ui
