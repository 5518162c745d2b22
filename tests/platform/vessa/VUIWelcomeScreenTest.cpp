#include "platform/vessa/VUIWelcomeScreen.h"

#include <gtest/gtest.h>

#include "platform/flows/FlowTestSupport.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"

namespace trc::vessa {
namespace {

using Option = VUIWelcomeScreen::ConfigurationOption;

// Records what the screen tells its delegate, in order.
class Recorder : public VUIWelcomeControllerDelegate {
public:
    void shouldContinueUserOnboarding(VUIWelcomeScreen&) override { heard += "continue;"; }
    void didSelectDemoMode(VUIWelcomeScreen&) override { heard += "demo;"; }
    void willNavigateToScannerScreen(VUIWelcomeScreen& screen,
                                     const std::shared_ptr<VUIOnboardingScanViewController>& scanner) override {
        heard += std::string("scanner") + (screen.presentedViewController() ? "(shown)" : "") + ";";
        this->scanner = scanner;
    }
    std::string heard;
    std::shared_ptr<VUIOnboardingScanViewController> scanner;
};

class WelcomeScreenEntries : public flows::test::FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        screen = VUIWelcomeScreen::createInstanceFromStoryboard();
        screen->delegate = recorder;
        window->rootViewController()->present(screen, false);
        runMain();
    }
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::shared_ptr<VUIWelcomeScreen> screen;
};

TEST_F(WelcomeScreenEntries, StartContinuesOnlyWhenConfiguredAndTheButtonTakesTaps) {
    EXPECT_FALSE(screen->start());  // not configured, no scanner offered
    screen->state = VUIWelcomeScreen::State::isConfigured;
    screen->primaryActionButton()->setHidden(true);
    EXPECT_FALSE(screen->start());
    screen->primaryActionButton()->setHidden(false);
    screen->primaryActionButton()->setEnabled(false);
    EXPECT_FALSE(screen->start());
    screen->primaryActionButton()->setEnabled(true);
    EXPECT_TRUE(screen->start());
    EXPECT_EQ(recorder->heard, "continue;");
}

TEST_F(WelcomeScreenEntries, TheScannerOpensOnlyWhenOfferedAndItsDelegateIsToldFirst) {
    EXPECT_FALSE(screen->scan());
    screen->configurationOptions.insert(Option::barcodeScanner);
    EXPECT_TRUE(screen->start());  // not configured: the button reads "scan"
    runMain();
    EXPECT_EQ(recorder->heard, "scanner;");
    EXPECT_EQ(screen->presentedViewController(), recorder->scanner);
    EXPECT_FALSE(screen->scan());  // one scanner at a time
}

TEST_F(WelcomeScreenEntries, TheDemoIsTakenOnlyWhileOffered) {
    EXPECT_FALSE(screen->demo());
    screen->setDemoAvailable(true);
    EXPECT_TRUE(screen->isDemoModeAvailable());
    EXPECT_TRUE(screen->demo());
    EXPECT_EQ(recorder->heard, "demo;");
    recorder.reset();
    EXPECT_FALSE(screen->demo());  // the delegate is gone
}

}  // namespace
}  // namespace trc::vessa
