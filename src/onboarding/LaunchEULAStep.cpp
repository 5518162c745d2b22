#include "onboarding/LaunchEULAStep.h"

#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIControl.h"
#include "services/SharedLoggerManager.h"

namespace trc::onboarding {

namespace {

constexpr const char* kLogger = "ZEL.TRC";

// The host's customization texts of the alert; nothing until the host sets them.
std::optional<std::string> hostRejectAlertMessage() { return std::nullopt; }
std::optional<std::string> hostRejectAlertQuitText() { return std::nullopt; }
std::optional<std::string> hostRejectAlertConsentText() { return std::nullopt; }

}  // namespace

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
            services::SharedLoggerManager::log(kLogger, "warn",
                                               "the EULA rejection alert could not be shown: " + error->description());
    });
}

std::shared_ptr<ui::UIAlertController> LaunchEULAStep::makeRejectionAlert() {
    auto alert = ui::UIAlertController::make(std::nullopt, std::nullopt, ui::UIAlertController::Style::Alert);
    alert->message = hostRejectAlertMessage();
    alert->addAction(ui::UIAlertAction::make(hostRejectAlertQuitText(), ui::UIAlertAction::Style::Default,
                                             [](ui::UIAlertAction&) {
                                                 ui::UIApplication::shared()->sendAction(
                                                     ui::UIApplication::kSuspendAction, nullptr,
                                                     std::make_shared<ui::UIControl>());
                                             }));
    alert->addAction(ui::UIAlertAction::make(hostRejectAlertConsentText(), ui::UIAlertAction::Style::Default));
    return alert;
}

}  // namespace trc::onboarding
