#include "onboarding/LaunchEULAStep.h"

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIControl.h"

namespace trc::onboarding {

namespace {}  // namespace

LaunchEULAStep::LaunchEULAStep(flows::EULAContent eulaContent)
    : EULAStep(std::move(eulaContent)), plovBundle(foundation::Bundle::framework()) {}

LaunchEULAStep::LaunchEULAStep(flows::OnboardingInfoKey eulaContentInfoKey)
    : EULAStep(std::move(eulaContentInfoKey)), plovBundle(foundation::Bundle::framework()) {}

void LaunchEULAStep::eulaAccepted(flows::VUIEULAViewController& screen) {
    EULAStep::eulaAccepted(screen);
    if (eulaAcceptedHandler) eulaAcceptedHandler();
}

void LaunchEULAStep::eulaRejected(flows::VUIEULAViewController&) {
    std::shared_ptr<flows::FlowPresentationDelegate> presenter;
    if (presentationDelegateProvider) presenter = presentationDelegateProvider();
    if (!presenter) presenter = std::make_shared<flows::ModalUIViewControllerPresenter>();
    presenter->present(makeRejectionAlert(), [](flows::ErrorPtr error) {
        // The agreement screen is still there to answer; only say why no alert came.
        if (error)
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           "the EULA rejection alert could not be shown: " + error->description());
    });
}

std::shared_ptr<ui::UIAlertController> LaunchEULAStep::makeRejectionAlert() {
    // The host's texts, or their defaults before the host has set any, so the
    // alert never shows an untitled button.
    using Text = OnboardingCustomization::Text;
    const auto text = &OnboardingCustomization::textOrDefault;
    auto alert = ui::UIAlertController::make(std::nullopt, std::nullopt, ui::UIAlertController::Style::Alert);
    alert->message = text(Text::eulaDisagreeAlertMessage);
    auto leave = [](ui::UIAlertAction&) {
        ui::UIApplication::shared()->sendAction(ui::UIApplication::kSuspendAction, nullptr,
                                                std::make_shared<ui::UIControl>());
    };
    alert->addAction(
        ui::UIAlertAction::make(text(Text::eulaDisagreeAlertQuitString), ui::UIAlertAction::Style::Default, leave));
    alert->addAction(
        ui::UIAlertAction::make(text(Text::eulaDisagreeAlertConsentString), ui::UIAlertAction::Style::Default));
    return alert;
}

}  // namespace trc::onboarding
