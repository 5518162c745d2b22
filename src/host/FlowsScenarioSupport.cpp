#include "host/FlowsScenarioSupport.h"

#include "host/ScenarioExtensions.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/VUIEULAViewController.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace trc::host {

namespace {

using flows::AuthenticationViewController;

std::shared_ptr<ui::UIViewController> topScreen() {
    auto window = ui::UIApplication::shared()->keyWindow();
    return window ? window->topViewController() : nullptr;
}

template <class T>
std::shared_ptr<T> screenOf(const char* what) {
    auto top = topScreen();
    auto screen = std::dynamic_pointer_cast<T>(top);
    if (!screen)
        throw ScenarioError(std::string("no ") + what + " on screen (on top: " + (top ? top->className() : "nothing") + ")");
    return screen;
}

std::string text(ScenarioContext& ctx, const core::Dictionary& step, const char* key) {
    core::Value raw = step.get(key);
    core::Value v = ctx.resolve(raw);
    if (!v.ifString()) throw ScenarioError(std::string("\"") + key + "\" must be a string");
    return *v.ifString();
}

void refused(bool ok, const std::string& what) {
    if (!ok) throw ScenarioError(what + " is not taken by the screen now");
}

}  // namespace

void FlowsScenarioSupport::install() {
    ScenarioExtensions::addUserAction("authenticate", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto outcome = AuthenticationViewController::outcomeNamed(text(ctx, step, "outcome"));
        if (!outcome) throw ScenarioError("\"outcome\" must be \"success\", \"failure\" or \"cancel\"");
        refused(screenOf<AuthenticationViewController>("sign-in screen")->finish(*outcome), "authenticate");
    });
    ScenarioExtensions::addUserAction("passcode", [](ScenarioContext& ctx, const core::Dictionary& step) {
        refused(screenOf<flows::VUIPasscodeController>("passcode screen")->enterPasscode(text(ctx, step, "value")),
                "passcode");
    });
    ScenarioExtensions::addUserAction("eula", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto screen = screenOf<flows::VUIEULAViewController>("agreement screen");
        std::string action = text(ctx, step, "action");
        if (action == "agree") return refused(screen->accept(), "agree");
        if (action == "disagree") return refused(screen->reject(), "disagree");
        throw ScenarioError("\"action\" must be \"agree\" or \"disagree\"");
    });
    ScenarioExtensions::addUserAction("cancel", [](ScenarioContext&, const core::Dictionary&) {
        auto top = topScreen();
        if (auto s = std::dynamic_pointer_cast<AuthenticationViewController>(top))
            return refused(s->finish(AuthenticationViewController::Outcome::cancel), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIPasscodeController>(top)) return refused(s->cancel(), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIEULAViewController>(top)) return refused(s->cancel(), "cancel");
        throw ScenarioError(std::string("no screen with a cancel button on top (on top: ") +
                            (top ? top->className() : "nothing") + ")");
    });
}

}  // namespace trc::host
