#pragma once
// What onboarding adds to the host simulator (its classes are registered by
// the library's WelcomeScreenBridge::install): the check receiver "toast" (the newest toast
// still on screen: its "message", "displayedText", "duration",
// "maxNumberOfLines"; absent when none is shown), and the user actions on
// the onboarding screens:
// - {"user": "welcome", "action": "start" | "demo" | "scan"} on the welcome
//   screen (the primary button, the demo button, opening the scanner);
// - {"user": "scan", "text": "..."} or {"user": "scan", "image": "code.png"}
//   (a PNG file relative to the scenario) delivers a scan to the scanner;
// - {"user": "confirmScan"} confirms an accepted code.
// Each acts on the screen a person sees and fails the step clearly when that
// is not the right screen or the screen does not take the entry now.
// Main thread only.

namespace trc::simulator {

class OnboardingScenarioSupport {
public:
    // Registers the simulator extensions; harmless twice.
    static void install();
};

}  // namespace trc::simulator
