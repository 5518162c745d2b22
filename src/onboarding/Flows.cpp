#include "onboarding/Flows.h"

#include "onboarding/LaunchEULAStep.h"
#include "onboarding/NetworkCheckStep.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/PLOVOnboardingConfigurationProvider.h"
#include "onboarding/WelcomeScreenStep.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/flows/ConfigurationTransformer.h"
#include "platform/flows/OAuth2AuthenticationStep.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/VessaASWebAuthenticationSessionPresenter.h"
#include "platform/flows/VessaWKWebViewPresenter.h"
#include "platform/flows/ZELvornSessionConfigurationStep.h"
#include "platform/flows/ZELvornSettingsDownloadStep.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"
#include "platform/vessa/VUIWelcomeScreen.h"
#include "services/AppConfig.h"
#include "services/ImagePathHandler.h"
#include "services/SecureStoreManager.h"

namespace trc::onboarding {

namespace {

using services::AppConfig;
using Text = OnboardingCustomization::Text;

std::optional<std::map<std::string, Flows>>& flowsSlot() {
    static std::optional<std::map<std::string, Flows>> slot;
    return slot;
}

void registerReset() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    core::ProcessState::registerReset("onboarding.Flows", [] {
        flowsSlot().reset();
        Flows::myAppId = core::Value();
        Flows::customizeScanButton = false;
    });
}

void setTitle(const std::shared_ptr<vessa::VUIOnboardingButton>& button, const std::string& title) {
    if (button) button->setTitle(title, ui::UIControl::State::Normal);
}

}  // namespace

core::Value Flows::myAppId;
bool Flows::customizeScanButton = false;

std::map<std::string, Flows>& Flows::availableFlows() {
    registerReset();
    auto& slot = flowsSlot();
    if (!slot) slot = std::map<std::string, Flows>{{kOAuth, oauth()}};
    return *slot;
}

void Flows::update() {
    registerReset();
    flowsSlot() = std::map<std::string, Flows>{{kOAuth, oauth()}};
}

Flows Flows::oauth() {
    registerReset();
    std::string stored;
    try {
        stored = services::SecureStoreManager::sharedInstance()->getString(kApplicationIDKey);
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       std::string("Failed to get applicationID from secure storage ") + e.what());
    }
    auto config = AppConfig::sharedInstance();
    // The application ID of every request is the one the client was onboarded
    // with: a scanned code's, once a code was taken, else the host's.
    config->takeScannedConnectionSettings();
    const core::Value* setting = config->connectionSettings().find(AppConfig::kApplicationID);
    if (setting && setting->ifString()) {
        myAppId = *setting->ifString();
    } else {
        // A value of another kind is no application ID; the stored one stands in.
        if (setting && !setting->isNothing())
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           "the application id is not a string; ignored");
        myAppId = stored;
    }
    const std::string appID = *myAppId.ifString();
    const std::string path = config->getAuthenticationPath(appID);
    auto [onboarding, reOnboarding, restoring, restoringSkipDownload] = defaultOAuthFlow(appID, path, std::nullopt);
    Flows out;
    out.appID = appID;
    out.onboardingFlow = std::move(onboarding);
    out.reOnboardingFlow = std::move(reOnboarding);
    out.restoringFlow = std::move(restoring);
    out.restoringFlowSkipDownload = std::move(restoringSkipDownload);
    return out;
}

std::tuple<Flows::Steps, Flows::Steps, Flows::Steps, Flows::Steps> Flows::defaultOAuthFlow(
    const std::string& appID, const std::optional<std::string>& authenticationPath,
    const std::optional<std::string>& plistFile) {
    bool skipEula = false;
    const core::Dictionary& params = OnboardingController::sharedInstance()->params;
    if (const core::Value* v = params.find(kSkipEulaKey); v && v->ifBool()) {
        skipEula = *v->ifBool();
    } else {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "Error: the value of SkipEula must be a boolean!");
    }

    auto settingsDownload = [] {
        return std::make_shared<flows::ZELvornSettingsDownloadStep>(
            std::make_shared<flows::ConfigurationTransformer>(flows::ZELvornSettingsTransformationMap::rules()),
            flows::OnboardingInfoKey::zelvornSettingsParameters, flows::OnboardingInfoKey::previousSettings);
    };
    auto sessionConfiguration = [] {
        return std::make_shared<flows::ZELvornSessionConfigurationStep>(
            flows::OnboardingInfoKey::zelvornSettingsParameters);
    };
    auto welcome = [&] { return createWelcomeStep(appID, authenticationPath, plistFile); };
    auto onboardingList = [&]() -> Steps {
        return {welcome(),
                welcome(),
                sessionConfiguration(),
                createOAuth2AuthenticationStep(),
                settingsDownload(),
                std::make_shared<NetworkCheckStep>(),
                createStoreManagerStep()};
    };
    Steps onboarding = onboardingList();
    Steps reOnboarding = onboardingList();
    Steps restoring{createStoreManagerStep(), welcome(), sessionConfiguration(), createOAuth2AuthenticationStep(),
                    settingsDownload()};
    Steps restoringSkipDownload{createStoreManagerStep(), welcome(), sessionConfiguration(),
                                createOAuth2AuthenticationStep()};

    if (AppConfig::sharedInstance()->getEULA() && !skipEula) {
        std::shared_ptr<flows::OnboardingStep> eula = defaultEULAStep();
        onboarding.insert(onboarding.begin(), eula);
        restoringSkipDownload.insert(restoringSkipDownload.begin() + 1, eula);
    }

    if (myAppId.ifString()) {
        try {
            services::SecureStoreManager::sharedInstance()->putString(*myAppId.ifString(), kApplicationIDKey);
        } catch (const std::exception& e) {
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           std::string("Failed to save applicationID to secure storage ") + e.what());
        }
    }
    return {std::move(onboarding), std::move(reOnboarding), std::move(restoring), std::move(restoringSkipDownload)};
}

std::shared_ptr<WelcomeScreenStep> Flows::createWelcomeStep(const std::string& appID,
                                                            const std::optional<std::string>& authenticationPath,
                                                            const std::optional<std::string>&) {
    auto provider = std::make_shared<PLOVOnboardingConfigurationProvider>();
    auto transformer = std::make_shared<flows::DiscoveryServiceConfigurationTransformer>(
        appID, std::nullopt, std::nullopt, authenticationPath.value_or(appID));
    auto step = std::make_shared<WelcomeScreenStep>(
        transformer, std::vector<std::shared_ptr<flows::ConfigurationProviding>>{provider},
        OnboardingController::sharedInstance()->callback);
    step->welcomeScreenCustomizationHandler = customizeWelcomeScreen;
    return step;
}

void Flows::customizeWelcomeScreen(vessa::WelcomeStepUI& screen) {
    auto config = AppConfig::sharedInstance();
    if (auto headline = screen.headlineLabel()) headline->text = kDefaultHeadline;
    screen.setDemoModeAvailable(false);
    if (config->appLabel())
        if (auto headline = screen.headlineLabel()) headline->text = *config->appLabel();
    if (config->detailLabel())
        if (auto detail = screen.detailLabel()) detail->text = *config->detailLabel();
    if (config->isDemoAvailable()) screen.setDemoModeAvailable(*config->isDemoAvailable());
    if (config->demoButtonText()) setTitle(screen.footnoteActionButton(), *config->demoButtonText());
    if (config->signinButtonText() && config->isAppConnectionSettingsValidForOnboarding())
        setTitle(screen.primaryActionButton(), *config->signinButtonText());
    if (std::optional<std::string> scan = OnboardingCustomization::get(Text::scanButtonString)) {
        if (!config->isAppConnectionSettingsValidForOnboarding() || customizeScanButton) {
            setTitle(screen.primaryActionButton(), *scan);
            customizeScanButton = false;
        }
    }
    if (auto* welcome = dynamic_cast<vessa::VUIWelcomeScreen*>(&screen)) {
        welcome->emailTextField()->text = kPlaceholderEmail;
        if (config->welcomeDetailLabel())
            if (auto footnote = welcome->footnoteLabel()) footnote->text = *config->welcomeDetailLabel();
    }
}

std::shared_ptr<flows::OAuth2AuthenticationStep> Flows::createOAuth2AuthenticationStep() {
    const core::Value* allow = AppConfig::sharedInstance()->connectionSettings().find(AppConfig::kAllowCerts);
    const bool allowCerts = allow && allow->ifBool() && *allow->ifBool();
    std::shared_ptr<flows::OAuth2AuthenticationPresenter> presenter;
    if (allowCerts)
        presenter = std::make_shared<flows::VessaASWebAuthenticationSessionPresenter>();
    else
        presenter = std::make_shared<flows::VessaWKWebViewPresenter>(
            std::weak_ptr<core::Object>(), std::weak_ptr<flows::ZELWKNavigationDelegate>(AppConfig::sharedInstance()));
    auto step = std::make_shared<flows::OAuth2AuthenticationStep>(
        presenter, flows::OnboardingInfoKey::oauth2AuthenticationParameters,
        flows::OnboardingInfoKey::oauth2ClientCredentialsAuthenticationParameters);
    step->isAllowingOfflineRestore = true;
    return step;
}

std::shared_ptr<flows::StoreManagerStep> Flows::createStoreManagerStep() {
    auto manager = std::make_shared<flows::SecureKeyValueStoreManager>(flows::OnboardingInfoKey::secureStoreFolderPath);
    auto step = std::make_shared<flows::StoreManagerStep>(flows::OnboardingInfoKey::passcodePolicy, manager);
    step->backgroundImageForTouchIDView = services::ImagePathHandler::image(kBlurredScreenImage, false, std::nullopt);
    step->defaultPasscodePolicy.reset();
    return step;
}

std::shared_ptr<flows::EULAStep> Flows::defaultEULAStep() {
    auto config = AppConfig::sharedInstance();
    const std::string title =
        OnboardingCustomization::get(Text::eulaTitleString).value_or("End User License Agreement");
    const std::string agree = OnboardingCustomization::get(Text::agreeButtonString).value_or("Agree");
    const std::string disagree = OnboardingCustomization::get(Text::disagreeButtonString).value_or("Disagree");
    auto step = std::make_shared<LaunchEULAStep>(flows::EULAContent{title, config->getEULAContent(), kEULAVersion});
    step->eulaAcceptedHandler = [] { OnboardingController::sharedInstance()->eulaAccepted = true; };
    step->presentationDelegateProvider = []() -> std::shared_ptr<flows::FlowPresentationDelegate> {
        return OnboardingController::sharedInstance()->presentationDelegate;
    };
    step->customizationHandler = [agree, disagree](flows::VUIEULAViewController& screen) {
        screen.confirmButton->setTitle(agree);
        screen.rejectButton->setTitle(disagree);
        screen.cancelButton->tintColor = "clear";
        screen.cancelButton->setEnabled(false);
    };
    return step;
}

}  // namespace trc::onboarding
