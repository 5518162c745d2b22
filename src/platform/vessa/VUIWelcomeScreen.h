#pragma once
// The welcome screen of onboarding: a headline, a detail text, a primary
// (start) button, a footnote with a demo button, an e-mail field, and the
// configuration state and options the onboarding step sets: notConfigured
// or isConfigured, and which ways of configuring it offers (a code scanner,
// a discovery service).
//
// The person's entries act through the delegate (held weakly):
// - start(): the primary button. When configured it asks the delegate to
//   continue onboarding; when not configured but a scanner is offered it
//   opens the scanner, as the button then reads "scan"; otherwise refused.
// - demo(): the demo button, only while the demo is offered.
// - scan(): opens the code scanner, only while a scanner is offered. The
//   delegate hears of the scanner before it is presented over this screen.
// Each returns false when the screen does not take the entry now.
// Main thread only; owned by std::shared_ptr.

#include <memory>
#include <set>

#include "platform/ui/UITextField.h"
#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIWelcomeControllerDelegate.h"
#include "platform/vessa/WelcomeStepUI.h"

namespace trc::vessa {

class VUIWelcomeScreen : public ui::UIViewController, public WelcomeStepUI {
    TRC_OBJECT(VUIWelcomeScreen)
public:
    enum class State { notConfigured, isConfigured };
    enum class ConfigurationOption { barcodeScanner, discoveryService };

    VUIWelcomeScreen();
    static std::shared_ptr<VUIWelcomeScreen> createInstanceFromStoryboard();

    std::weak_ptr<VUIWelcomeControllerDelegate> delegate;
    State state = State::notConfigured;
    std::set<ConfigurationOption> configurationOptions;
    bool isDemoAvailable = false;
    const std::shared_ptr<ui::UITextField>& emailTextField() const { return emailTextField_; }

    std::shared_ptr<ui::UILabel> headlineLabel() const override { return headlineLabel_; }
    std::shared_ptr<ui::UILabel> detailLabel() const override { return detailLabel_; }
    std::shared_ptr<VUIOnboardingButton> primaryActionButton() const override { return primaryActionButton_; }
    std::shared_ptr<ui::UILabel> footnoteLabel() const override { return footnoteLabel_; }
    std::shared_ptr<VUIOnboardingButton> footnoteActionButton() const override { return footnoteActionButton_; }
    void setDemoAvailable(bool available) override { isDemoAvailable = available; }
    bool isDemoModeAvailable() const override { return isDemoAvailable; }
    void setDemoModeAvailable(bool available) override { isDemoAvailable = available; }

    bool start();
    bool demo();
    bool scan();

    static const char* stateName(State state);
    static const char* optionName(ConfigurationOption option);

    void loadView() override;

private:
    std::shared_ptr<ui::UILabel> headlineLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<ui::UILabel> detailLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<VUIOnboardingButton> primaryActionButton_ = std::make_shared<VUIOnboardingButton>();
    std::shared_ptr<ui::UILabel> footnoteLabel_ = std::make_shared<ui::UILabel>();
    std::shared_ptr<VUIOnboardingButton> footnoteActionButton_ = std::make_shared<VUIOnboardingButton>();
    std::shared_ptr<ui::UITextField> emailTextField_ = std::make_shared<ui::UITextField>();
};

}  // namespace trc::vessa
