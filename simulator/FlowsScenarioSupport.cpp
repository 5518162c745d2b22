#include "simulator/FlowsScenarioSupport.h"

#include "simulator/ScenarioExtensions.h"
#include "simulator/ScreenEntries.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/VUIEULAViewController.h"
#include "platform/flows/VUIPasscodeController.h"

namespace trc::simulator {

namespace {

using flows::AuthenticationViewController;
using E = ScreenEntries;

}  // namespace

void FlowsScenarioSupport::install() {
    ScenarioExtensions::addUserAction("authenticate", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto outcome = AuthenticationViewController::outcomeNamed(E::text(ctx, step, "outcome"));
        if (!outcome) throw ScenarioError("\"outcome\" must be \"success\", \"failure\" or \"cancel\"");
        E::refused(E::screenOf<AuthenticationViewController>("sign-in screen")->finish(*outcome), "authenticate");
    });
    ScenarioExtensions::addUserAction("passcode", [](ScenarioContext& ctx, const core::Dictionary& step) {
        E::refused(E::screenOf<flows::VUIPasscodeController>("passcode screen")->enterPasscode(E::text(ctx, step, "value")),
                "passcode");
    });
    ScenarioExtensions::addUserAction("eula", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto screen = E::screenOf<flows::VUIEULAViewController>("agreement screen");
        std::string action = E::text(ctx, step, "action");
        if (action == "agree") return E::refused(screen->accept(), "agree");
        if (action == "disagree") return E::refused(screen->reject(), "disagree");
        throw ScenarioError("\"action\" must be \"agree\" or \"disagree\"");
    });
    ScenarioExtensions::addUserAction("cancel", [](ScenarioContext&, const core::Dictionary&) {
        auto top = E::topScreen();
        if (auto s = std::dynamic_pointer_cast<AuthenticationViewController>(top))
            return E::refused(s->finish(AuthenticationViewController::Outcome::cancel), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIPasscodeController>(top)) return E::refused(s->cancel(), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIEULAViewController>(top)) return E::refused(s->cancel(), "cancel");
        throw ScenarioError(std::string("no screen with a cancel button on top (on top: ") +
                            (top ? top->className() : "nothing") + ")");
    });
}

}  // namespace trc::simulator
