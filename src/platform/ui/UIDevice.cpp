#include "platform/ui/UIDevice.h"

#include "platform/core/ProcessState.h"

namespace trc::ui {

namespace {

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("ui.UIDevice", [] { UIDevice::current() = UIDevice(); });
    return true;
}();

}  // namespace

UIDevice& UIDevice::current() {
    static UIDevice device;
    return device;
}

void UIDevice::becomePad() {
    model = "iPad";
    userInterfaceIdiom = UIUserInterfaceIdiom::Pad;
}

void UIDevice::becomePhone() {
    model = "iPhone";
    userInterfaceIdiom = UIUserInterfaceIdiom::Phone;
}

}  // namespace trc::ui
