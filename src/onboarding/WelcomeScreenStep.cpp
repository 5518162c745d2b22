#include "onboarding/WelcomeScreenStep.h"

#include "onboarding/ConnectionInfoToast.h"
#include "onboarding/Flows.h"
#include "onboarding/HostCallback.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/QRCodeScanValidator.h"
#include "onboarding/WelcomeScreenError.h"
#include "platform/core/Json.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/GlobalQueue.h"
#include "platform/flows/ConfigurationProviderNames.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIOnboardingScanConfirmView.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"
#include "services/AppConfig.h"
#include "services/SecureStoreManager.h"

namespace trc::onboarding {

namespace {

using services::AppConfig;
using Option = vessa::VUIWelcomeScreen::ConfigurationOption;
using Text = OnboardingCustomization::Text;

constexpr const char* kApplicationIDKey = "ApplicationID";

// Steps waiting on the person, so that a process reset can let go of what
// they would complete (the flow holds its steps and the step the flow).
std::vector<std::weak_ptr<WelcomeScreenStep>>& waitingSteps() {
    static std::vector<std::weak_ptr<WelcomeScreenStep>> steps;
    return steps;
}

void rememberWaiting(const std::shared_ptr<WelcomeScreenStep>& step) {
    static bool registered = false;
    if (!registered) {
        registered = true;
        core::ProcessState::registerReset("onboarding.WelcomeScreenStep", [] {
            for (const auto& w : waitingSteps()) {
                if (auto s = w.lock()) {
                    s->savedCompletionHandler = nullptr;
                    s->configLoaderCompletionHandler = nullptr;
                }
            }
            waitingSteps().clear();
            registered = false;
        });
    }
    auto& steps = waitingSteps();
    std::erase_if(steps, [](const auto& w) { return w.expired(); });
    steps.push_back(step);
}

bool overridesEnabled() {
    const core::Value* v = AppConfig::sharedInstance()->connectionSettings().find(AppConfig::kEnableOverrides);
    return v && v->ifBool() && *v->ifBool();
}

std::optional<std::string> stringSetting(const char* key) {
    const core::Value* v = AppConfig::sharedInstance()->connectionSettings().find(key);
    return v && v->ifString() ? std::optional<std::string>(*v->ifString()) : std::nullopt;
}

std::string text(Text t) { return OnboardingCustomization::textOrDefault(t).value_or(""); }

}  // namespace

const flows::OnboardingInfoKey WelcomeScreenStep::showScanScreen{"showScanScreen"};
const flows::OnboardingInfoKey WelcomeScreenStep::scannedConnectionSettings{"scannedConnectionSettings"};

WelcomeScreenStep::WelcomeScreenStep(std::shared_ptr<flows::DiscoveryServiceConfigurationTransformer> transformer,
                                     std::vector<std::shared_ptr<flows::ConfigurationProviding>> providers,
                                     std::shared_ptr<core::Object> callback)
    : providers(std::move(providers)),
      transformer(std::move(transformer)),
      callback(std::move(callback)),
      plovBundle(foundation::Bundle::framework()) {}

WelcomeScreenStep::ConfigCompletion WelcomeScreenStep::completeFlow(const flows::OnboardingContext& context,
                                                                    Completion completion, const char* road) {
    return [context, completion = std::move(completion), road](std::optional<Config> config, flows::ErrorPtr error) {
        if (error) return completion(flows::OnboardingResult::failed(std::move(error)));
        if (!config) {
            // A road that ends with neither is a fault of this step; the flow
            // fails instead of the process.
            std::string what = std::string("Internal Error: No config and no error in WelcomeScreenStep:") + road +
                               ":completionHandler";
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error, what);
            return completion(flows::OnboardingResult::failed(std::make_shared<flows::UnexpectedError>(what)));
        }
        flows::OnboardingContext next = context;
        for (auto& [key, value] : *config) next.info[key] = value;
        completion(flows::OnboardingResult::success(std::move(next)));
    };
}

void WelcomeScreenStep::onboard(const flows::OnboardingContext& context, Completion completion) {
    onboard(context, context.presentationDelegate, context.credentialStore,
            completeFlow(context, std::move(completion), "onboard"));
}

void WelcomeScreenStep::restore(const flows::OnboardingContext& context, Completion completion) {
    restore(context.credentialStore, completeFlow(context, std::move(completion), "restore"));
}

void WelcomeScreenStep::reset(const flows::OnboardingContext&, ResetCompletion completion) {
    welcomeScreen.reset();
    // A reset ends the flow this step may still be waiting in.
    savedCompletionHandler = nullptr;
    if (completion) completion();
}

void WelcomeScreenStep::collectURLSchemes() {
    const core::Dictionary& info = foundation::Bundle::main()->infoDictionary();
    const core::Value* types = info.find("CFBundleURLTypes");
    if (!types || !types->ifArray() || types->ifArray()->empty()) return;
    const core::Dictionary* first = types->ifArray()->front().ifDictionary();
    if (!first) return;
    const core::Value* schemes = first->find("CFBundleURLSchemes");
    if (!schemes || !schemes->ifArray()) return;
    for (const core::Value& s : *schemes->ifArray())
        if (!s.ifString()) return;
    for (const core::Value& s : *schemes->ifArray()) urlSchemes.push_back(*s.ifString());
}

void WelcomeScreenStep::onboard(const flows::OnboardingContext& context,
                                std::shared_ptr<flows::FlowPresentationDelegate> presenter,
                                std::shared_ptr<flows::CodableStoring> store, ConfigCompletion completionHandler) {
    bool scanFlag = false;
    if (const bool* show = context.infoValue<bool>(showScanScreen)) {
        if (!*show) {
            completionHandler(context.info, nullptr);
            return;
        }
        scanFlag = true;
    }
    collectURLSchemes();

    auto self = weak();
    savedCompletionHandler = [self, completionHandler](std::optional<Config> config, flows::ErrorPtr error) {
        if (auto s = self.lock()) s->savedCompletionHandler = nullptr;
        completionHandler(std::move(config), std::move(error));
    };
    rememberWaiting(std::static_pointer_cast<WelcomeScreenStep>(shared_from_this()));
    presentationDelegate = std::move(presenter);
    credentialStore = std::move(store);
    onboardingConfig.clear();
    persistError_.reset();

    welcomeScreen = vessa::VUIWelcomeScreen::createInstanceFromStoryboard();
    welcomeScreen->delegate = std::static_pointer_cast<WelcomeScreenStep>(shared_from_this());
    welcomeScreen->state = vessa::VUIWelcomeScreen::State::notConfigured;
    welcomeScreen->configurationOptions.clear();

    if (OnboardingController::isURLOnboarding) {
        if (std::optional<std::string> id = stringSetting(AppConfig::kApplicationID)) {
            updateStartButtonState(*id);
        } else {
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           "no application id to refresh the start button with");
        }
        OnboardingController::isURLOnboarding = false;
    }
    if (welcomeScreenCustomizationHandler) welcomeScreenCustomizationHandler(*welcomeScreen);
    configurationLoader()->loadConfiguration({});

    if (!AppConfig::sharedInstance()->isAppConnectionSettingsValidForOnboarding() || scanFlag) {
        welcomeScreen->state = vessa::VUIWelcomeScreen::State::notConfigured;
        if (overridesEnabled()) welcomeScreen->configurationOptions.insert(Option::barcodeScanner);
    }

    auto navigation = ui::UINavigationController::make(welcomeScreen);
    std::weak_ptr<vessa::VUIWelcomeScreen> shown = welcomeScreen;
    if (!presentationDelegate) {
        finish(std::nullopt, std::make_shared<flows::UnexpectedError>("the welcome screen has no presenter"));
        return;
    }
    presentationDelegate->present(navigation, [shown](flows::ErrorPtr) {
        if (auto screen = shown.lock()) ConnectionInfoToast::showToast(core::Value(screen->view()));
    });
}

void WelcomeScreenStep::restore(const std::shared_ptr<flows::CodableStoring>& store,
                                ConfigCompletion completionHandler) {
    if (!store) {
        completionHandler(std::nullopt,
                          flows::OnboardingError::missingArgument(kMissingConfigText, "WelcomeScreenStep").clone());
        return;
    }
    std::optional<Config> config;
    try {
        config = readConfig(*store);
    } catch (...) {
        completionHandler(std::nullopt, flows::UnexpectedError::fromCurrentException());
        return;
    }
    if (!config) {
        completionHandler(std::nullopt,
                          flows::OnboardingError::missingArgument(kMissingConfigText, "WelcomeScreenStep").clone());
        return;
    }
    completionHandler(std::move(config), nullptr);
}

std::optional<WelcomeScreenStep::Config> WelcomeScreenStep::readConfig(const flows::CodableStoring& store) {
    std::optional<core::Data> data = store.get(kPersistedConfigurationKey);
    if (!data) return std::nullopt;
    core::Value raw;
    try {
        raw = core::Json::parse(std::string(data->begin(), data->end()), core::Json::NullAs::Nil);
    } catch (const core::JsonError& e) {
        throw flows::UnexpectedError(std::string("the kept configuration is not JSON: ") + e.what());
    }
    return transformer->transform(raw);
}

void WelcomeScreenStep::resetPersistedConfiguration() {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::info,
                                   "Called: resetPersistedConfiguration");
}

void WelcomeScreenStep::persistConfiguration(const core::Dictionary& configuration) {
    try {
        // Transformed first: a configuration the flow cannot use is never kept.
        Config transformed = transformer->transform(core::Value(configuration));
        const std::string json = core::Json::write(core::Value(configuration));
        if (!credentialStore) throw flows::UnexpectedError("no credential store to keep the configuration in");
        credentialStore->put(core::Data(json.begin(), json.end()), kPersistedConfigurationKey);
        onboardingConfig = std::move(transformed);
        persistError_.reset();
    } catch (...) {
        persistError_ = flows::UnexpectedError::fromCurrentException();
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "Failed to persist configuration! " + persistError_->description());
    }
}

void WelcomeScreenStep::updateStartButtonState(const std::string& applicationID) {
    auto config = AppConfig::sharedInstance();
    if (!config->isAppConnectionSettingsValidForOnboarding()) return;
    if (welcomeScreen) {
        welcomeScreen->primaryActionButton()->setHidden(false);
        ConnectionInfoToast::showToast(core::Value(welcomeScreen->view()));
    }
    transformer->applicationID = applicationID;
    transformer->authenticationPath = config->getAuthenticationPath(applicationID);
}

std::shared_ptr<flows::ConfigurationLoader> WelcomeScreenStep::configurationLoader() {
    auto self = std::static_pointer_cast<WelcomeScreenStep>(shared_from_this());
    return std::make_shared<flows::ConfigurationLoader>(std::weak_ptr<flows::ConfigurationLoaderDelegate>(self),
                                                        providers, std::weak_ptr<flows::ConfigurationPersisting>(self));
}

void WelcomeScreenStep::configurationProviderRequestedInput(flows::ConfigurationLoader&, const core::Dictionary& input,
                                                            std::function<void(core::Dictionary)> completion) {
    if (welcomeScreen) {
        welcomeScreen->primaryActionButton()->setEnabled(true);
        welcomeScreen->emailTextField()->setEnabled(true);
    }
    if (input.empty()) {
        completion({});
        return;
    }
    if (!didRequestUserInput) {
        didRequestUserInput = true;
        if (welcomeScreen) {
            if (input.contains(flows::ConfigurationProviderNames::discoveryService))
                welcomeScreen->configurationOptions.insert(Option::discoveryService);
            if (input.contains(flows::ConfigurationProviderNames::json))
                welcomeScreen->configurationOptions.insert(Option::barcodeScanner);
        }
    }
    auto self = weak();
    configLoaderCompletionHandler = [self, completion](core::Dictionary answer) {
        if (auto s = self.lock()) s->configLoaderCompletionHandler = nullptr;
        dispatch::GlobalQueue::shared().async([completion, answer] { completion(answer); });
    };
}

void WelcomeScreenStep::configurationProviderDidComplete(const std::shared_ptr<flows::ConfigurationProviding>&,
                                                         bool success) {
    if (!success) return;
    if (persistError_) {
        // Settings that are complete yet unusable end the step with the
        // reason; incomplete ones are what a screen waiting for a scan has,
        // and it goes on waiting, not configured.
        if (AppConfig::sharedInstance()->isAppConnectionSettingsValidForOnboarding()) {
            finish(std::nullopt, persistError_);
        } else if (welcomeScreen) {
            welcomeScreen->state = vessa::VUIWelcomeScreen::State::notConfigured;
        }
        return;
    }
    if (didRequestUserInput) {
        if (welcomeScreen) shouldContinueUserOnboarding(*welcomeScreen);
        return;
    }
    if (welcomeScreen) welcomeScreen->state = vessa::VUIWelcomeScreen::State::isConfigured;
}

void WelcomeScreenStep::configurationProviderDidEncounter(const std::shared_ptr<flows::ConfigurationProviding>&,
                                                          flows::ErrorPtr error) {
    finish(std::nullopt, std::move(error));
}

void WelcomeScreenStep::finish(std::optional<Config> config, flows::ErrorPtr error) {
    if (config && acceptedScan_) (*config)[scannedConnectionSettings] = *acceptedScan_;
    if (auto handler = savedCompletionHandler) handler(std::move(config), std::move(error));
}

void WelcomeScreenStep::finishAfterDismiss(std::optional<Config> config, flows::ErrorPtr error) {
    if (!savedCompletionHandler) return;
    auto self = weak();
    auto done = [self, config = std::move(config), error = std::move(error)] {
        if (auto s = self.lock()) s->finish(config, error);
    };
    if (presentationDelegate)
        presentationDelegate->dismiss(done);
    else
        done();
}

void WelcomeScreenStep::shouldContinueUserOnboarding(vessa::VUIWelcomeScreen&) {
    if (!savedCompletionHandler) return;
    if (scanResult) {
        onboardingConfig[showScanScreen] = false;
        auto self = weak();
        auto screen = welcomeScreen;
        auto done = [self, screen] {
            auto s = self.lock();
            if (!s) return;
            s->finish(s->onboardingConfig, nullptr);
            if (screen && screen->presentingViewController()) screen->dismiss(false);
        };
        if (presentationDelegate)
            presentationDelegate->dismiss(done);
        else
            done();
        return;
    }
    if (overridesEnabled()) {
        if (!presentationDelegate) return;
        auto alert = ui::UIAlertController::make(text(Text::selectOptionString), text(Text::userChoiceString));
        auto self = weak();
        alert->addAction(ui::UIAlertAction::make(text(Text::continueWithSameAppString),
                                                 ui::UIAlertAction::Style::Default, [self](ui::UIAlertAction&) {
                                                     auto s = self.lock();
                                                     if (!s || !s->presentationDelegate) return;
                                                     s->presentationDelegate->dismiss([self] {
                                                         auto step = self.lock();
                                                         if (!step) return;
                                                         step->onboardingConfig[showScanScreen] = false;
                                                         step->finish(step->onboardingConfig, nullptr);
                                                     });
                                                 }));
        alert->addAction(ui::UIAlertAction::make(text(Text::scanNewQRCodeString), ui::UIAlertAction::Style::Default,
                                                 [self](ui::UIAlertAction&) {
                                                     auto s = self.lock();
                                                     if (!s || !s->presentationDelegate) return;
                                                     s->presentationDelegate->dismiss([self] {
                                                         auto step = self.lock();
                                                         if (!step) return;
                                                         Flows::customizeScanButton = true;
                                                         step->onboardingConfig[showScanScreen] = true;
                                                         step->finish(step->onboardingConfig, nullptr);
                                                     });
                                                 }));
        presentationDelegate->present(alert, [](flows::ErrorPtr) {});
        return;
    }
    onboardingConfig[showScanScreen] = false;
    finishAfterDismiss(onboardingConfig, nullptr);
}

void WelcomeScreenStep::didSelectDemoMode(vessa::VUIWelcomeScreen&) {
    finishAfterDismiss(std::nullopt, std::make_shared<WelcomeScreenError>());
}

void WelcomeScreenStep::willNavigateToScannerScreen(
    vessa::VUIWelcomeScreen&, const std::shared_ptr<vessa::VUIOnboardingScanViewController>& scanner) {
    if (scanner) scanner->delegate = std::static_pointer_cast<WelcomeScreenStep>(shared_from_this());
}

bool WelcomeScreenStep::scanViewControllerShouldValidateScanResult(vessa::VUIOnboardingScanViewController& scanner,
                                                                   const std::string& text) {
    using V = QRCodeScanValidator;
    V::QRParams params;
    try {
        core::Value parsed = core::Json::parse(text, core::Json::NullAs::Nil);
        const core::Dictionary* object = parsed.ifDictionary();
        if (!object) {
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           "Invalid JSON format");
            return false;
        }
        params = V::parseJsonQRResult(*object);
    } catch (const core::JsonError& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string("Error: ") + e.what());
        if (!V::isScanResultValid(text, urlSchemes)) return false;
        std::optional<V::QRParams> plain = V::parseStringQRResult(text);
        if (!plain) return false;
        params = std::move(*plain);
    }
    if (!V::isAllConnectionParamsAvailable(params)) return false;

    auto config = AppConfig::sharedInstance();
    for (const std::string& key : V::allowedSettings()) {
        auto it = params.find(key);
        if (it == params.end() || it->second == AppConfig::kDefaultData) continue;
        if (!config->isAllowedDomain(key, it->second)) {
            scanner.invalidQRCodeTitleString =
                plovBundle->localizedString(kInvalidConnectionTitleKey, kStringsTable, kInvalidConnectionTitleDefault);
            scanner.invalidQRCodeMessageString = plovBundle->localizedString(
                kInvalidConnectionMessageKey, kStringsTable, kInvalidConnectionMessageDefault);
            return false;
        }
    }

    // Checked on a copy: a refused code leaves the settings as they were.
    core::Dictionary candidate = config->connectionSettings();
    core::Dictionary scanned;
    for (const auto& [key, value] : V::connectionSettings(params)) {
        if (value) {
            candidate.set(key, *value);
            scanned.set(key, *value);
        } else {
            candidate.erase(key);
        }
    }
    if (!AppConfig::areConnectionSettingsValid(candidate)) return false;
    if (!callback) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, "Callback is nil");
        return false;
    }

    config->setConnectionSettings(std::move(candidate));
    // Written again and checked when the onboarding ends, should this fail.
    foundation::UserDefaults::shared().setObject(AppConfig::kScannedConnectionSettingsKey, core::Value(scanned));
    acceptedScan_ = std::move(scanned);
    scanResult = text;

    if (auto confirm = std::dynamic_pointer_cast<vessa::VUIOnboardingScanConfirmView>(scanner.scanConfirmationView))
        confirm->cloudPlatformHostName = stringSetting(AppConfig::kVornURL);
    HostCallback::send(callback, kQrCodeScanCompleteSelector, core::Value(text));

    std::optional<std::string> appID = stringSetting(AppConfig::kApplicationID);
    transformer->applicationID = appID.value_or(AppConfig::kDefaultData);
    std::string stored;
    try {
        std::optional<std::string> value =
            services::SecureStoreManager::sharedInstance()->getStringValue(kApplicationIDKey);
        if (!value) throw services::QVSecureStoreError(services::QVSecureStoreError::Code::notFound, "no value");
        stored = *value;
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       std::string("Failed to get applicationID from secure storage ") + e.what());
    }
    transformer->authenticationPath = config->getAuthenticationPath(appID.value_or(stored));
    configurationLoader()->loadConfiguration({});
    return true;
}

}  // namespace trc::onboarding
