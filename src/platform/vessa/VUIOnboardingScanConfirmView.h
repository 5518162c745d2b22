#pragma once
// The confirmation the scanner shows over an accepted code: the server the
// code points at, and a confirm button that takes the person back. Hidden
// until a code is accepted. Main thread only.

#include <optional>
#include <string>

#include "platform/ui/UIView.h"

namespace trc::vessa {

class VUIOnboardingScanConfirmView : public ui::UIView {
    TRC_OBJECT(VUIOnboardingScanConfirmView)
public:
    VUIOnboardingScanConfirmView() { setHidden(true); }

    std::optional<std::string> cloudPlatformHostName;
};

}  // namespace trc::vessa
