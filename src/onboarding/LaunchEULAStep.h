#pragma once
// The onboarding step that shows the application's end-user licence
// agreement. It is the flow framework's EULA step with two changes: an
// acceptance is also remembered by the onboarding controller (so a later
// onboarding run skips the agreement), and a rejection does not end the
// flow but asks, in an alert without title, whether to leave the
// application (it only goes to the background) or to agree after all (the
// alert closes and the agreement screen is there to accept). The step
// therefore keeps waiting after a rejection.
//
// The alert's message and button titles are the host's customization
// texts; a text the host has not set leaves the message or title empty
// (the leave button stays first).
//
// What the step needs of the onboarding controller comes in through two
// hooks that whoever places the step in a flow sets: eulaAcceptedHandler
// (records the acceptance; called after the framework has handled it) and
// presentationDelegateProvider (what shows the alert; without one, or when
// it gives none, the alert goes on top of the key window's screens). Hooks
// must not capture the controller strongly: the controller holds its flows,
// and so this step.
//
// Owned by the flow lists (std::shared_ptr; one step may stand in two).
// Main thread.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/flows/EULAStep.h"
#include "platform/flows/FlowPresentationDelegate.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/UIAlertController.h"

namespace trc::onboarding {

class LaunchEULAStep : public flows::EULAStep {
public:
    explicit LaunchEULAStep(flows::EULAContent eulaContent);
    explicit LaunchEULAStep(flows::OnboardingInfoKey eulaContentInfoKey);

    // The library's own bundle, looked up when the step is made.
    std::shared_ptr<foundation::Bundle> plovBundle;

    std::function<void()> eulaAcceptedHandler;
    std::function<std::shared_ptr<flows::FlowPresentationDelegate>()> presentationDelegateProvider;

    void eulaAccepted(flows::VUIEULAViewController& screen) override;
    void eulaRejected(flows::VUIEULAViewController& screen) override;

    // The alert a rejection shows; made fresh for each rejection.
    static std::shared_ptr<ui::UIAlertController> makeRejectionAlert();
};

}  // namespace trc::onboarding
