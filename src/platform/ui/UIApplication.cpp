#include "platform/ui/UIApplication.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"
#include "platform/core/ProcessState.h"
#include "platform/ui/UIWindow.h"

namespace trc::ui {

namespace {

std::shared_ptr<UIApplication>& sharedSlot() {
    static std::shared_ptr<UIApplication> slot;
    return slot;
}

}  // namespace

const core::ClassInfo& UIApplication::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIApplication>("UIApplication", UIResponder::classInfo())
            .classMethod("sharedInstance", [](core::Args) { return core::Value(UIApplication::shared()); })
            .classProperty("sharedInstance", [] { return core::Value(UIApplication::shared()); })
            .property("keyWindow",
                      [](const UIApplication& app) { return objectOrNil(app.keyWindow()); })
            .property("windows",
                      [](const UIApplication& app) { return objectArray(app.windows()); })
            .property("applicationState",
                      [](const UIApplication& app) { return core::Value(stateName(app.applicationState)); })
            .build();
    return info;
}

std::shared_ptr<UIApplication> UIApplication::shared() {
    auto& slot = sharedSlot();
    if (!slot) {
        slot = std::make_shared<UIApplication>();
        core::ProcessState::registerReset("UIApplication", [] { sharedSlot().reset(); });
    }
    return slot;
}

void UIApplication::setKeyWindow(const std::shared_ptr<UIWindow>& window) {
    addWindow(window);
    keyWindow_ = window;
}

void UIApplication::addWindow(const std::shared_ptr<UIWindow>& window) {
    if (window && std::find(windows_.begin(), windows_.end(), window) == windows_.end()) windows_.push_back(window);
}

const char* UIApplication::stateName(State state) {
    switch (state) {
        case State::Active: return "active";
        case State::Inactive: return "inactive";
        case State::Background: return "background";
    }
    return "active";
}

}  // namespace trc::ui
