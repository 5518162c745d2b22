#pragma once
// Which onboarding steps run, in which order, and how each is set up: four
// step lists for first onboarding, onboarding again after the licence
// agreement was accepted in this process, restore, and restore without the
// settings download. When the application bundle holds a licence agreement
// file and the host's "SkipEula" is not the Bool true, one agreement step
// stands first in the onboarding list and second in the restore-without-
// download list (the same object in both).
//
// Flows is a value; every build makes new step objects. The statics
// (availableFlows, myAppId, customizeScanButton) live for the process and
// are dropped by a ProcessState reset. Building reads the host's parameters
// from the onboarding controller, AppConfig and the secure store, and
// keeps the application ID in the secure store. Main thread only.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/core/Value.h"
#include "platform/flows/OnboardingFlowController.h"

namespace trc::flows {
class EULAStep;
class OAuth2AuthenticationStep;
class StoreManagerStep;
}  // namespace trc::flows

namespace trc::vessa {
class WelcomeStepUI;
}

namespace trc::onboarding {

class WelcomeScreenStep;

class Flows {
public:
    using Steps = flows::OnboardingFlowController::Steps;

    static constexpr const char* kOAuth = "OAuth";
    static constexpr const char* kSkipEulaKey = "SkipEula";
    static constexpr const char* kApplicationIDKey = "ApplicationID";
    static constexpr const char* kDefaultHeadline = "Test Application";
    static constexpr const char* kPlaceholderEmail = "user@example.com";
    static constexpr const char* kEULAVersion = "1.0";
    static constexpr const char* kBlurredScreenImage = "res://BlurredScreen.png";

    std::string appID;
    Steps onboardingFlow;
    Steps reOnboardingFlow;
    Steps restoringFlow;
    Steps restoringFlowSkipDownload;

    // ["OAuth": oauth()], built on first use.
    static std::map<std::string, Flows>& availableFlows();
    static void update();
    static Flows oauth();
    // The application ID last resolved by oauth(): a string, or nil before.
    static core::Value myAppId;
    static bool customizeScanButton;

    static std::tuple<Steps, Steps, Steps, Steps> defaultOAuthFlow(const std::string& appID,
                                                                   const std::optional<std::string>& authenticationPath,
                                                                   const std::optional<std::string>& plistFile);
    static std::shared_ptr<WelcomeScreenStep> createWelcomeStep(const std::string& appID,
                                                                const std::optional<std::string>& authenticationPath,
                                                                const std::optional<std::string>& plistFile);
    static std::shared_ptr<flows::OAuth2AuthenticationStep> createOAuth2AuthenticationStep();
    static std::shared_ptr<flows::StoreManagerStep> createStoreManagerStep();
    static std::shared_ptr<flows::EULAStep> defaultEULAStep();
    // What the welcome step calls with its new screen.
    static void customizeWelcomeScreen(vessa::WelcomeStepUI& screen);
};

}  // namespace trc::onboarding
