#pragma once
// A button with a title per control state. press() is the person's tap:
// it sends TouchUpInside and PrimaryActionTriggered when the button accepts
// input (enabled, shown) and reports whether it did. Main thread only.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/UIControl.h"

namespace trc::ui {

class UIButton : public UIControl {
    TRC_OBJECT(UIButton)
public:
    // Kept in the room of the state's title before, when it has one.
    virtual void setTitle(std::optional<std::string_view> title, State state = State::Normal);
    // The title for the state, falling back to the normal title.
    std::optional<std::string> title(State state = State::Normal) const;
    // The title for the button's present state.
    std::optional<std::string> currentTitle() const;
    // The same, read in place: valid until a title is set.
    const std::string* currentTitleText() const;

    // A person taps the button; false when it does not accept input.
    bool press();

    // A named colour, as for labels.
    std::string tintColor;

private:
    const std::string* titleText(State state) const;

    std::map<State, std::string> titles_;
};

}  // namespace trc::ui
