#pragma once
// What onboarding adds to the host boundary and the host simulator: its
// host-visible classes registered by name (OnboardingCustomizationBridge,
// OnboardingCustomizationSwift) and the check receiver "toast": the newest
// toast still on screen (its "message", "displayedText", "duration",
// "maxNumberOfLines"), absent when none is shown. Main thread only.

namespace trc::host {

class OnboardingScenarioSupport {
public:
    // Registers the classes and the simulator extensions; harmless twice.
    static void install();
};

}  // namespace trc::host
