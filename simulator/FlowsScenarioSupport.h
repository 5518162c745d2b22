#pragma once
// The host simulator's user actions on the flow screens: "authenticate" on
// the sign-in screen, played as a browser would: "success" requests the
// screen's authorization URL (GET, at 127.0.0.1 only, no redirect followed)
// and hands the screen the URL it is sent to; "failure" hands back the
// redirect URL with error=access_denied and the state sent; "cancel"
// cancels; {"redirect": "..."} hands the screen that URL ({state} for the
// state sent). A server that answers without a redirect fails the step.
// Then "passcode" ({"value": "..."}) on the passcode screen, "eula"
// ({"action": "agree" | "disagree"}) on the agreement screen, and "cancel"
// on whichever of them is on top. Each acts on the screen on top of the key
// window and fails the step clearly when that screen is not the right kind
// or does not take the entry.
//
// Also the storage faults of the device: the step "storageFault" makes the
// file layer under the stores and user defaults fail chosen calls (see
// docs/host-scenarios.md), and the check receiver "storage" tells how many
// calls it failed ("injected").

namespace trc::simulator {

class FlowsScenarioSupport {
public:
    static void install();
};

}  // namespace trc::simulator
