#pragma once
// The welcome step of every onboarding and restore flow.
//
// Onboard shows the welcome screen (inside a navigation controller, through
// the context's presenter), loads the configuration from its providers,
// keeps the loaded configuration in the context's credential store, and
// completes when the person starts onboarding, with the configuration as
// info for the steps after it (and showScanScreen). When the host allows
// overrides the person may instead scan a QR code with new connection
// settings (validated here) or, at the select-option alert, ask to scan a
// new one, which the next welcome step of the flow then shows. The demo
// choice ends the step with WelcomeScreenError::demoModeRequested. A welcome
// step that finds showScanScreen false in the info completes at once.
//
// Restore reads the kept configuration back; reset forgets the screen.
//
// A scanned code changes nothing until it is accepted: the connection
// settings and the "ScannedConnectionSettings" user default (the six
// connection values only) are written only after every check passed. The
// step finishes with those settings in info too, so that the onboarding can
// make sure they are kept before it reports success.
//
// Owned by the flow lists (std::shared_ptr); the screen, the scanner and
// the loaders hold it weakly. The step finishes at most once per onboard.
// A process reset drops what a waiting step would still complete, so a
// flow abandoned on screen does not keep itself alive. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/flows/CodableStoring.h"
#include "platform/flows/ConfigurationLoader.h"
#include "platform/flows/ConfigurationLoaderDelegate.h"
#include "platform/flows/ConfigurationPersisting.h"
#include "platform/flows/DiscoveryServiceConfigurationTransformer.h"
#include "platform/flows/FlowPresentationDelegate.h"
#include "platform/flows/OnboardingStep.h"
#include "platform/foundation/Bundle.h"
#include "platform/vessa/VUIOnboardingScanViewControllerDelegate.h"
#include "platform/vessa/VUIWelcomeControllerDelegate.h"
#include "platform/vessa/VUIWelcomeScreen.h"

namespace trc::onboarding {

class WelcomeScreenStep : public flows::OnboardingStep,
                          public flows::ConfigurationLoaderDelegate,
                          public flows::ConfigurationPersisting,
                          public vessa::VUIWelcomeControllerDelegate,
                          public vessa::VUIOnboardingScanViewControllerDelegate {
public:
    using Config = flows::OnboardingContext::Info;
    using ConfigCompletion = std::function<void(std::optional<Config>, flows::ErrorPtr)>;
    using CustomizationHandler = std::function<void(vessa::WelcomeStepUI&)>;

    // Bool info: whether the next welcome step shows its screen for a new code.
    static const flows::OnboardingInfoKey showScanScreen;
    // Dictionary info: the connection settings of the code this step took,
    // which the onboarding keeps ("ScannedConnectionSettings") once it is done.
    static const flows::OnboardingInfoKey scannedConnectionSettings;
    // Texts of the step's own strings table.
    static constexpr const char* kStringsTable = "Onboarding";
    static constexpr const char* kInvalidConnectionTitleKey = "InvalidConnectionTitle";
    static constexpr const char* kInvalidConnectionTitleDefault = "Invalid Connection";
    static constexpr const char* kInvalidConnectionMessageKey = "InvalidConnectionMessage";
    static constexpr const char* kInvalidConnectionMessageDefault =
        "The connection settings contains URL that is not in allowed domain";
    static constexpr const char* kQrCodeScanCompleteSelector = "qrCodeScanComplete";
    static constexpr const char* kMissingConfigText = "failed to load config data from the store";

    WelcomeScreenStep(std::shared_ptr<flows::DiscoveryServiceConfigurationTransformer> transformer,
                      std::vector<std::shared_ptr<flows::ConfigurationProviding>> providers,
                      std::shared_ptr<core::Object> callback);

    std::vector<std::shared_ptr<flows::ConfigurationProviding>> providers;
    const std::shared_ptr<flows::DiscoveryServiceConfigurationTransformer> transformer;
    std::shared_ptr<core::Object> callback;
    bool didRequestUserInput = false;
    std::optional<std::string> scanResult;
    std::function<void(core::Dictionary)> configLoaderCompletionHandler;
    std::vector<std::string> urlSchemes;
    std::shared_ptr<vessa::VUIWelcomeScreen> welcomeScreen;
    CustomizationHandler welcomeScreenCustomizationHandler;
    // The library's own bundle: its "Onboarding" strings table.
    const std::shared_ptr<foundation::Bundle> plovBundle;
    ConfigCompletion savedCompletionHandler;
    std::shared_ptr<flows::FlowPresentationDelegate> presentationDelegate;
    std::shared_ptr<flows::CodableStoring> credentialStore;
    Config onboardingConfig;

    // OnboardingStep.
    void onboard(const flows::OnboardingContext& context, Completion completion) override;
    void restore(const flows::OnboardingContext& context, Completion completion) override;
    void reset(const flows::OnboardingContext& context, ResetCompletion completion) override;

    void onboard(const flows::OnboardingContext& context, std::shared_ptr<flows::FlowPresentationDelegate> presenter,
                 std::shared_ptr<flows::CodableStoring> store, ConfigCompletion completionHandler);
    void restore(const std::shared_ptr<flows::CodableStoring>& store, ConfigCompletion completionHandler);
    // The kept configuration, transformed; nothing when none is kept.
    // Throws a flows::Error when the store, the JSON or the transform fails.
    std::optional<Config> readConfig(const flows::CodableStoring& store);

    // ConfigurationPersisting.
    void persist(const core::Dictionary& configuration) override { persistConfiguration(configuration); }
    void resetPersistedConfiguration() override;
    // Transforms the raw configuration, keeps it (JSON) in the credential
    // store and takes the result as onboardingConfig. A failure is logged
    // and fails the load that delivered the configuration: the step ends
    // with it when the connection settings are complete, and otherwise
    // (a screen waiting for a scanned code) stays not configured.
    void persistConfiguration(const core::Dictionary& configuration);

    void updateStartButtonState(const std::string& applicationID);
    // A new loader over the step's providers, the step as its delegate and
    // output handler; the step does not keep it.
    std::shared_ptr<flows::ConfigurationLoader> configurationLoader();

    // ConfigurationLoaderDelegate.
    void configurationProviderDidComplete(const std::shared_ptr<flows::ConfigurationProviding>& provider,
                                          bool success) override;
    void configurationProviderDidEncounter(const std::shared_ptr<flows::ConfigurationProviding>& provider,
                                           flows::ErrorPtr error) override;
    void configurationProviderRequestedInput(flows::ConfigurationLoader& loader, const core::Dictionary& input,
                                             std::function<void(core::Dictionary)> completion) override;

    // The welcome screen's delegate.
    void shouldContinueUserOnboarding(vessa::VUIWelcomeScreen& controller) override;
    void didSelectDemoMode(vessa::VUIWelcomeScreen& controller) override;
    void willNavigateToScannerScreen(vessa::VUIWelcomeScreen& controller,
                                     const std::shared_ptr<vessa::VUIOnboardingScanViewController>& scanner) override;

    // The scanner's delegate: whether the scanned text is taken.
    bool scanViewControllerShouldValidateScanResult(vessa::VUIOnboardingScanViewController& scanner,
                                                    const std::string& scanResult) override;

private:
    void finish(std::optional<Config> config, flows::ErrorPtr error);
    void finishAfterDismiss(std::optional<Config> config, flows::ErrorPtr error);
    void collectURLSchemes();
    std::weak_ptr<WelcomeScreenStep> weak() { return weakSelf<WelcomeScreenStep>(); }
    static ConfigCompletion completeFlow(const flows::OnboardingContext& context, Completion completion,
                                         const char* road);

    // Why the last persist failed; fails the load it belongs to.
    flows::ErrorPtr persistError_;
    // The connection settings of the last code taken; handed on when the
    // step finishes.
    std::optional<core::Dictionary> acceptedScan_;
};

}  // namespace trc::onboarding
