#include "simulator/OnboardingScenarioSupport.h"

#include "host/WelcomeScreenBridge.h"
#include "host/WelcomeScreenDelegate.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingCustomizationBridge.h"
#include "platform/vessa/VUIInfoViewController.h"
#include "platform/vessa/VUIOnboardingButton.h"
#include "platform/vessa/VUIOnboardingScanConfirmView.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"
#include "platform/vessa/VUIWelcomeScreen.h"
#include "services/AppConfig.h"
#include "services/ToastMessageView.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/ScreenEntries.h"

namespace trc::simulator {

namespace {

using E = ScreenEntries;

}  // namespace

void OnboardingScenarioSupport::install() {
    ScenarioExtensions::addCheckReceiver("toast",
                                         [](ScenarioContext&, const core::Dictionary&) -> std::optional<core::Value> {
                                             if (auto toast = services::ToastMessageView::current())
                                                 return core::Value(toast);
                                             return std::nullopt;
                                         });

    ScenarioExtensions::addUserAction("welcome", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto screen = E::screenOf<vessa::VUIWelcomeScreen>("welcome screen");
        const std::string action = E::text(ctx, step, "action");
        if (action == "start") return E::refused(screen->start(), "start");
        if (action == "demo") return E::refused(screen->demo(), "demo");
        if (action == "scan") return E::refused(screen->scan(), "scan");
        throw ScenarioError("\"action\" must be \"start\", \"demo\" or \"scan\"");
    });
    ScenarioExtensions::addUserAction("scan", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto scanner = E::screenOf<vessa::VUIOnboardingScanViewController>("QR scanner");
        const bool hasText = step.contains("text");
        if (hasText == step.contains("image")) throw ScenarioError("\"scan\" takes either \"text\" or \"image\"");
        if (hasText) return E::refused(scanner->scanText(E::text(ctx, step, "text")), "scan");
        const std::filesystem::path file = ctx.scenarioDir() / E::text(ctx, step, "image");
        std::string why;
        if (!scanner->scanImageFile(file, why))
            throw ScenarioError(why.empty() ? "scan is not taken by the screen now" : why);
    });
    ScenarioExtensions::addUserAction("confirmScan", [](ScenarioContext&, const core::Dictionary&) {
        E::refused(E::screenOf<vessa::VUIOnboardingScanViewController>("QR scanner")->confirmScan(), "confirmScan");
    });
}

}  // namespace trc::simulator
