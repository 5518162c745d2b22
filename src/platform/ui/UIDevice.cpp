#include "platform/ui/UIDevice.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"

namespace trc::ui {

namespace {

std::shared_ptr<UIDevice>& slot() {
    static std::shared_ptr<UIDevice> device;
    return device;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("ui.UIDevice", [] { slot().reset(); });
    return true;
}();

}  // namespace

const core::ClassInfo& UIDevice::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIDevice>("UIDevice", core::Object::classInfo())
            .classProperty("currentDevice", [] { return core::Value(current()); })
            .property("model", [](const UIDevice& d) { return core::Value(d.model); })
            .property("userInterfaceIdiom",
                      [](const UIDevice& d) {
                          return core::Value(d.userInterfaceIdiom() == UserInterfaceIdiom::Pad ? "pad" : "phone");
                      })
            .build();
    return info;
}

std::shared_ptr<UIDevice> UIDevice::current() {
    auto& device = slot();
    if (!device) device = std::make_shared<UIDevice>();
    return device;
}

UIDevice::UserInterfaceIdiom UIDevice::userInterfaceIdiom() const {
    return model.starts_with(kPadModel) ? UserInterfaceIdiom::Pad : UserInterfaceIdiom::Phone;
}

}  // namespace trc::ui
