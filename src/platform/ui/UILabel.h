#pragma once
// A text label. Holds the text it would draw; numberOfLines 0 means
// unlimited. Main thread only.

#include <optional>
#include <string>

#include "platform/ui/UIView.h"

namespace trc::ui {

class UILabel : public UIView {
    TRC_OBJECT(UILabel)
public:
    enum class Alignment { Natural, Left, Center, Right };

    std::optional<std::string> text;
    int numberOfLines = 1;
    Alignment textAlignment = Alignment::Natural;
    // A named colour ("red", "#FF0000", a style colour name); empty is the default.
    std::string textColor;
};

}  // namespace trc::ui
