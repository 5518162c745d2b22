#include "simulator/ScreenEntries.h"

#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace trc::simulator {

std::shared_ptr<ui::UIViewController> ScreenEntries::topScreen() {
    auto window = ui::UIApplication::shared()->keyWindow();
    return window ? window->topViewController() : nullptr;
}

std::string ScreenEntries::text(ScenarioContext& ctx, const core::Dictionary& step, const char* key) {
    core::Value v = ctx.resolve(step.get(key));
    if (!v.ifString()) throw ScenarioError(std::string("\"") + key + "\" must be a string");
    return *v.ifString();
}

void ScreenEntries::refused(bool taken, const std::string& what) {
    if (!taken) throw ScenarioError(what + " is not taken by the screen now");
}

}  // namespace trc::simulator
