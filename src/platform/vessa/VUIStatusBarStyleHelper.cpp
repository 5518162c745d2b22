#include "platform/vessa/VUIStatusBarStyleHelper.h"

#include "platform/core/ProcessState.h"

namespace trc::vessa {

namespace {
std::optional<ui::UIStatusBarStyle>& slot() {
    static std::optional<ui::UIStatusBarStyle> style;
    return style;
}
[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("vessa.VUIStatusBarStyleHelper", [] { slot().reset(); });
    return true;
}();
}  // namespace

std::optional<ui::UIStatusBarStyle> VUIStatusBarStyleHelper::statusBarStyle() { return slot(); }

void VUIStatusBarStyleHelper::setStatusBarStyle(std::optional<ui::UIStatusBarStyle> style) { slot() = style; }

}  // namespace trc::vessa
