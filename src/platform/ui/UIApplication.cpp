#include "platform/ui/UIApplication.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIValues.h"
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
            .property("keyWindow", [](const UIApplication& app) { return objectOrNil(app.keyWindow()); })
            .property("windows", [](const UIApplication& app) { return objectArray(app.windows()); })
            .property("applicationState",
                      [](const UIApplication& app) { return core::Value(stateName(app.applicationState)); })
            .method(kSuspendAction,
                    [](UIApplication& app, core::Args) {
                        app.suspend();
                        return core::Value();
                    })
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

bool UIApplication::sendAction(std::string_view action, const std::shared_ptr<core::Object>& target,
                               const std::shared_ptr<core::Object>& sender) {
    core::Object& receiver = target ? *target : static_cast<core::Object&>(*this);
    const std::string from = sender ? sender->className() : std::string("nothing");
    if (receiver.respondsToSelector(action) && core::selectorArity(action) == 0) {
        receiver.perform(action);
        return true;
    }
    core::SharedLoggerManager::log(
        "ui", core::Severity::warn,
        receiver.className() + " does not answer the action \"" + std::string(action) + "\" sent from " + from);
    return false;
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
