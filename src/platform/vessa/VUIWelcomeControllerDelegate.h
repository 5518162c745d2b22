#pragma once
// Who hears what a person does on the welcome screen: start onboarding,
// choose the demo, or open the code scanner (told before the scanner is
// shown, so the delegate can become the scanner's delegate). Main thread.

#include <memory>

namespace trc::vessa {

class VUIWelcomeScreen;
class VUIOnboardingScanViewController;

class VUIWelcomeControllerDelegate {
public:
    virtual ~VUIWelcomeControllerDelegate() = default;

    virtual void shouldContinueUserOnboarding(VUIWelcomeScreen& controller) = 0;
    virtual void didSelectDemoMode(VUIWelcomeScreen& controller) = 0;
    virtual void willNavigateToScannerScreen(VUIWelcomeScreen& controller,
                                             const std::shared_ptr<VUIOnboardingScanViewController>& scanner) = 0;
};

}  // namespace trc::vessa
