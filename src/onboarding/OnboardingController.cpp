#include "onboarding/OnboardingController.h"

#include <algorithm>
#include <cctype>

#include "onboarding/HostCallback.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/PLOVOnboardingConfigurationProvider.h"
#include "onboarding/WelcomeScreenError.h"
#include "onboarding/WelcomeScreenStep.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/HTTPCookieStorage.h"
#include "platform/flows/Logger.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/StoreManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/StoreSelectorStep.h"
#include "platform/flows/KeychainStoreManager.h"
#include "platform/flows/URLCache.h"
#include "platform/flows/WebsiteDataStore.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "platform/flows/ZELvornUserRoles.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIInfoViewController.h"
#include "services/AppConfig.h"
#include "services/DataServiceUtils.h"
#include "services/SharedLoggerManager.h"
#include "services/VersionObserver.h"

namespace trc::onboarding {

namespace {

using core::Value;
using services::AppConfig;
using Text = OnboardingCustomization::Text;

constexpr const char* kTrcLogger = "ZEL.TRC";

std::shared_ptr<OnboardingController>& sharedSlot() {
    static std::shared_ptr<OnboardingController> slot;
    return slot;
}

foundation::UserDefaults& defaults() { return foundation::UserDefaults::shared(); }

std::string lowered(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

core::Dictionary dictionaryArg(const Value& v) {
    const core::Dictionary* d = v.ifDictionary();
    return d ? *d : core::Dictionary{};
}

// The parameters of an entry that starts or refreshes onboarding: nil is no
// parameters; any other value that is no dictionary is logged and the entry
// changes nothing.
std::optional<core::Dictionary> onboardingParams(const Value& v, const char* selector) {
    if (const core::Dictionary* d = v.ifDictionary()) return *d;
    if (v.isNothing()) return core::Dictionary{};
    services::SharedLoggerManager::log(kTrcLogger, "warn",
                                       std::string(selector) + ": the parameters are not a dictionary but " +
                                           core::Value::kindName(v.kind()) + "; nothing changed");
    return std::nullopt;
}

OnboardingController::Block blockArg(const Value& v) { return v.ifObjectOf<core::Block>(); }

// Where a host value of the connection settings comes from.
struct ConnectionKey {
    const char* param;
    const char* setting;
};

const std::vector<ConnectionKey>& connectionKeys() {
    static const std::vector<ConnectionKey> keys{
        {"ClientID", AppConfig::kClientId},
        {OnboardingController::kVornURLParam, AppConfig::kVornURL},
        {"RedirectURL", AppConfig::kRedirectURL},
        {"TokenEndpointURL", AppConfig::kTokenEndpointURL},
        {"AuthorizationEndpointURL", AppConfig::kAuthorizationEndpointURL},
        {"ApplicationID", AppConfig::kApplicationID},
        {"AllowCerts", AppConfig::kAllowCerts},
        {"connectionInfoToastMessage", AppConfig::kConnectionInfoToastMessage},
        {OnboardingController::kEnableOverridesParam, AppConfig::kEnableOverrides},
    };
    return keys;
}

std::optional<std::string> stringParam(const core::Dictionary& params, const char* key) {
    const Value* v = params.find(key);
    return v && v->ifString() ? std::optional<std::string>(*v->ifString()) : std::nullopt;
}

void clearWebData(std::function<void()> then) {
    flows::HTTPCookieStorage::shared().removeCookies(flows::HTTPCookieStorage::distantPast());
    flows::URLCache::shared().removeAllCachedResponses();
    defaults().remove(OnboardingController::kAppOnboardedState);
    auto& store = flows::WebsiteDataStore::defaultStore();
    store.fetchDataRecords(flows::WebsiteDataStore::allWebsiteDataTypes(),
                           [then = std::move(then)](std::vector<flows::WebsiteDataStore::Record> records) {
                               flows::WebsiteDataStore::defaultStore().removeData(
                                   flows::WebsiteDataStore::allWebsiteDataTypes(), records, [] {});
                               if (then) then();
                           });
}

bool isSharedStoreStep(const std::shared_ptr<flows::OnboardingStep>& step) {
    std::shared_ptr<flows::StoreManagerStep> store = std::dynamic_pointer_cast<flows::StoreManagerStep>(step);
    if (!store)
        if (auto selector = std::dynamic_pointer_cast<flows::StoreSelectorStep>(step)) store = selector->step;
    if (!store) return false;
    auto keychain = std::dynamic_pointer_cast<flows::KeychainStoreManager>(store->persistentStoreManager());
    return keychain && keychain->accessGroup() && !keychain->accessGroup()->empty();
}

}  // namespace

bool OnboardingController::isURLOnboarding = false;

const core::ClassInfo& OnboardingController::classInfo() {
    using C = OnboardingController;
    static const core::ClassInfo& info =
        core::ClassBuilder<C>("OnboardingController", ui::UINavigationController::classInfo())
            .classMethod("sharedInstance", [](core::Args) { return Value(sharedInstance()); })
            .classProperty("isURLOnboarding", [] { return Value(isURLOnboarding); })
            .classProperty("kAppOnboardedState", [] { return Value(kAppOnboardedState); })
            .method("initialize:callback:",
                    [](C& c, core::Args a) {
                        if (auto params = onboardingParams(a[0], "initialize:callback:"))
                            c.initialize(*params, a[1].ifObject());
                        return Value();
                    })
            .method("reInitializePageWithParams:",
                    [](C& c, core::Args a) {
                        if (auto params = onboardingParams(a[0], "reInitializePage:")) c.reInitializePage(*params);
                        return Value();
                    })
            .method("manageBlurScreenWithParams:",
                    [](C& c, core::Args a) {
                        c.manageBlurScreen(dictionaryArg(a[0]));
                        return Value();
                    })
            .method("unlockScreenWithResolve:reject:",
                    [](C& c, core::Args a) {
                        c.unlockScreen(blockArg(a[0]), blockArg(a[1]));
                        return Value();
                    })
            .method("restoreOnRelaunchWithParams:resolve:reject:",
                    [](C& c, core::Args a) {
                        c.restoreOnRelaunch(dictionaryArg(a[0]), blockArg(a[1]), blockArg(a[2]));
                        return Value();
                    })
            .method("changeUserPasscodeWithResolve:reject:",
                    [](C& c, core::Args a) {
                        c.changeUserPasscode(blockArg(a[0]), blockArg(a[1]));
                        return Value();
                    })
            .method("verifyPasscodeWithParams:resolve:reject:",
                    [](C& c, core::Args a) {
                        c.verifyPasscode(dictionaryArg(a[0]), blockArg(a[1]), blockArg(a[2]));
                        return Value();
                    })
            .property("params", [](const C& c) { return Value(c.params); })
            .property("callback", [](const C& c) { return ui::objectOrNil(c.callback); })
            .property("eulaAccepted", [](const C& c) { return Value(c.eulaAccepted); })
            .property("presentationDelegate", [](const C& c) { return ui::objectOrNil(c.presentationDelegate); })
            .property("currentFlow",
                      [](const C& c) {
                          if (!c.currentFlow) return Value();
                          auto count = [](const Flows::Steps& s) { return Value(static_cast<long long>(s.size())); };
                          return Value(core::Dictionary{
                              {"appID", c.currentFlow->appID},
                              {"onboardingFlow", count(c.currentFlow->onboardingFlow)},
                              {"reOnboardingFlow", count(c.currentFlow->reOnboardingFlow)},
                              {"restoringFlow", count(c.currentFlow->restoringFlow)},
                              {"restoringFlowSkipDownload", count(c.currentFlow->restoringFlowSkipDownload)}});
                      })
            .build();
    return info;
}

OnboardingController::OnboardingController()
    : presentationDelegate(std::make_shared<flows::ModalUIViewControllerPresenter>()),
      logger_(flows::Logger::shared(kLoggerName)) {}

std::shared_ptr<OnboardingController> OnboardingController::sharedInstance() {
    auto& slot = sharedSlot();
    if (!slot) {
        core::ProcessState::registerReset("onboarding.OnboardingController", [] {
            sharedSlot().reset();
            isURLOnboarding = false;
        });
        slot = std::make_shared<OnboardingController>();
    }
    return slot;
}

std::weak_ptr<OnboardingController> OnboardingController::weak() {
    return std::static_pointer_cast<OnboardingController>(shared_from_this());
}

void OnboardingController::setOnboardingStage(const std::string& stage) {
    HostCallback::send(callback, kSetOnboardingStage, Value(stage));
}

std::optional<foundation::UUID> OnboardingController::savedOnboardingID() const {
    std::optional<std::string> text = defaults().stringForKey(kAppOnboardedState);
    return text ? foundation::UUID::fromString(*text) : std::nullopt;
}

flows::OnboardingContext OnboardingController::defaultInitialContext() const {
    flows::OnboardingContext context(foundation::UUID(), flows::CompositeStorage::makeInMemory(),
                                     std::make_shared<flows::ModalUIViewControllerPresenter>());
    auto config = AppConfig::sharedInstance();
    if (auto store = std::dynamic_pointer_cast<flows::CodableStoring>(config->credentialStore))
        context.credentialStore = store;
    if (auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(config->zelURLSession))
        context.setZelURLSession(session);
    context.credentialStores[flows::CredentialStoreID::shared] = flows::CompositeStorage::makeInMemory();
    return context;
}

void OnboardingController::initialize(const core::Dictionary& newParams, std::shared_ptr<core::Object> newCallback) {
    callback = std::move(newCallback);
    eulaAccepted = false;
    auto config = AppConfig::sharedInstance();
    config->isOnboarding = true;
    updateParams(newParams);
    config->setAllowedDomains(newParams);
    config->setAppSchemeAllowedDomains(newParams);
    config->setCacheSettings(newParams);
    Flows::update();
    currentFlow = Flows::availableFlows().at(Flows::kOAuth);
    auto self = weak();
    auto start = [self] {
        dispatch::MainQueue::shared().async([self] {
            if (auto s = self.lock()) s->onboardOrRestore();
        });
    };
    // A saved onboarding is reset first, and only then does onboarding start,
    // so the two never run over the same store at once.
    if (savedOnboardingID())
        reset(start);
    else
        start();
}

void OnboardingController::updateParams(const core::Dictionary& newParams) {
    auto config = AppConfig::sharedInstance();
    bool rebuild = false;
    const Value* stored = config->connectionSettings.find(AppConfig::kAllowCerts);
    const Value* given = newParams.find("AllowCerts");
    if (stored && stored->ifBool() && given && !(given->ifBool() && *given->ifBool() == *stored->ifBool())) {
        config->connectionSettings.set(AppConfig::kAllowCerts, *given);
        rebuild = true;
    }
    params = newParams;
    cacheWelcomeScreenAndConnSettings();
    // Rebuilt after the copy, so the lists see the new values.
    if (rebuild) Flows::update();
}

void OnboardingController::cacheWelcomeScreenAndConnSettings() {
    auto config = AppConfig::sharedInstance();
    for (const ConnectionKey& key : connectionKeys()) {
        const Value* v = params.find(key.param);
        config->connectionSettings.set(key.setting, v ? *v : Value());
    }
    config->appLabel = stringParam(params, "AppNameLabel");
    config->detailLabel = stringParam(params, "DetailLabelViewText");
    const Value* demo = params.find("IsDemoAvailable");
    config->isDemoAvailable = demo && demo->ifBool() ? std::optional<bool>(*demo->ifBool()) : std::nullopt;
    config->welcomeDetailLabel = stringParam(params, "WelcomeDetailLabel");
    config->signinButtonText = stringParam(params, "SigninButtonText");
    config->demoButtonText = stringParam(params, "DemoButtonText");
    if (const Value* encrypt = params.find("EncryptDatabase"); encrypt && encrypt->ifBool())
        config->encryptDatabase = *encrypt->ifBool();
    // A client onboarded from a code keeps the code's connection values, its
    // application ID among them, whatever the host passes now.
    config->takeScannedConnectionSettings();
}

void OnboardingController::onboardOrRestore() {
    auto splash = vessa::VUIInfoViewController::createSplashScreenInstanceFromStoryboard();
    auto self = weak();
    presentationDelegate->present(splash, [self](flows::ErrorPtr) {
        if (auto s = self.lock()) s->onboardOrRestoreWithoutSplash();
    });
}

void OnboardingController::onboardOrRestoreWithoutSplash() {
    flows::OnboardingContext context = defaultInitialContext();
    context.presentationDelegate = presentationDelegate;
    const Flows flows = currentFlow ? *currentFlow : Flows::availableFlows().at(Flows::kOAuth);
    auto self = weak();
    if (std::optional<foundation::UUID> saved = savedOnboardingID()) {
        context.onboardingID = *saved;
        flows::OnboardingFlowController::restore(flows.restoringFlow, context, [self](flows::OnboardingResult r) {
            if (auto s = self.lock()) s->restoringCompletion(r);
        });
        return;
    }
    flows::OnboardingFlowController::onboard(eulaAccepted ? flows.reOnboardingFlow : flows.onboardingFlow, context,
                                             false, [self](flows::OnboardingResult r) {
                                                 if (auto s = self.lock()) s->onboardingCompletion(r);
                                             });
}

void OnboardingController::saveInfoFromContext(const flows::OnboardingContext& context) {
    const auto& session = context.zelURLSession();
    // One version header per session, however often it is restored.
    bool observed = false;
    for (const auto& o : session->observers())
        if (std::dynamic_pointer_cast<services::VersionObserver>(o)) observed = true;
    if (!observed) session->registerObserver(std::make_shared<services::VersionObserver>());
    auto config = AppConfig::sharedInstance();
    config->zelURLSession = session;
    config->credentialStore = std::dynamic_pointer_cast<core::Object>(context.credentialStore);
    if (context.credentialStore && !config->credentialStore)
        logger()->error("the credential store of the onboarding cannot be kept");
}

void OnboardingController::logSettings(const flows::OnboardingContext& context) {
    if (const auto* settings =
            context.infoValue<flows::ZELvornSettingsParameters>(flows::OnboardingInfoKey("ZELvornSettingsParameters"))) {
        logger()->debug("Current loglevel: " + flows::Logger::description(flows::Logger::root()->logLevel()));
        logger()->debug("ZELvornSettingsParameters from context.info: " + settings->description());
    }
}

void OnboardingController::onboardingCompletion(const flows::OnboardingResult& result) {
    if (const flows::OnboardingContext* context = result.context()) {
        logger()->debug("::: Onboarding SUCCEEDED!");
        saveInfoFromContext(*context);
        logSettings(*context);
        if (const auto* settings =
                context->infoValue<flows::ZELvornSettingsParameters>(flows::OnboardingInfoKey::zelvornSettingsParameters))
            loadRegistrationInfo(*settings);
        defaults().setObject(kAppOnboardedState, Value(context->onboardingID.uuidString()));
        presentationDelegate->dismiss([] {});
        didConfirmPasscode();
        return;
    }
    flows::ErrorPtr error = result.error();
    if (flows::Error::is<WelcomeScreenError>(error)) {
        presentationDelegate->dismiss([] {});
        enterDemoMode();
        return;
    }
    logger()->error("::: Onboarding FAILED! " + (error ? error->description() : std::string()));
    onboardFailed(error);
}

void OnboardingController::loadRegistrationInfo(const flows::ZELvornSettingsParameters& settings) {
    auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(AppConfig::sharedInstance()->zelURLSession);
    if (!session) return;
    core::Dictionary info;
    if (flows::ZELvornSettingsParameters::defaultDeviceID)
        info.set("DeviceId", *flows::ZELvornSettingsParameters::defaultDeviceID);
    auto roles = std::make_shared<flows::ZELvornUserRoles>(session, settings);
    auto self = weak();
    roles->load([self, info, roles](std::optional<flows::ZELvornUserRoles::UserInfo> user, flows::ErrorPtr) mutable {
        auto s = self.lock();
        if (!s) return;
        if (user) info.set("UserId", user->id);
        if (s->callback)
            HostCallback::send(s->callback, kFinishedLoadingRegistrationInfo, Value(info));
        else
            services::SharedLoggerManager::log(kTrcLogger, "warn", kCallbackIsNil);
    });
}

void OnboardingController::didConfirmPasscode() {
    setOnboardingStage(kStageInApplication);
    auto config = AppConfig::sharedInstance();
    if (!config->encryptDatabase) {
        config->data.set(kOfflineKey, "");
    } else if (config->isOnboarding) {
        if (std::optional<std::string> key = services::DataServiceUtils::generateOfflineStoreEncryptionKey())
            config->data.set(kOfflineKey, *key);
        else
            config->data.erase(kOfflineKey);
    } else {
        config->data.set(kOfflineKey, kUnusedOfflineKey);
    }
    config->passcodeSource = getPasscodeSource();
    config->data.set(kPasscodeSourceKey, Value(static_cast<long long>(config->passcodeSource)));
    config->removeBlur();
    if (callback) {
        HostCallback::send(callback, kFinishedOnboarding, Value(config->data));
        config->isOnboarding = false;
        defaults().setObject(kIsInitialLaunchKey, Value(true));
    } else {
        services::SharedLoggerManager::log(kTrcLogger, "warn", kCallbackIsNil);
    }
}

void OnboardingController::enterDemoMode() {
    AppConfig::sharedInstance()->isOnboarding = false;
    core::Dictionary demo;
    if (std::optional<std::string> key = services::DataServiceUtils::generateOfflineStoreEncryptionKey())
        demo.set(kOfflineKey, *key);
    demo.set(kDemoPasscodeKey, kDemoPasscode);
    setOnboardingStage(kStageInAppFromDemo);
    HostCallback::send(callback, kFinishedOnboarding, Value(demo));
}

void OnboardingController::onboardFailed(const flows::ErrorPtr& error) {
    auto self = weak();
    flows::OnboardingFlowController::reset(resetFlow(), flows::OnboardingContext(), [self, error] {
        auto s = self.lock();
        if (!s) return;
        const std::string description = lowered(error ? error->localizedDescription() : std::string());
        for (const std::string& keyword : s->onboardingCancelledKeywords()) {
            if (description.find(keyword) != std::string::npos) {
                s->resetOnboarding();
                return;
            }
        }
        auto alert = ui::UIAlertController::make(
            OnboardingCustomization::get(Text::authenticationFailedMessageString).value_or(kFailedToOnboard),
            OnboardingCustomization::get(Text::onboardingFailedMessageString));
        alert->addAction(ui::UIAlertAction::make(OnboardingCustomization::get(Text::retryButtonString).value_or(kRetry),
                                                 ui::UIAlertAction::Style::Default, [self](ui::UIAlertAction&) {
                                                     if (auto c = self.lock()) c->resetOnboarding();
                                                 }));
        s->presentationDelegate->present(alert, [](flows::ErrorPtr) {});
    });
}

void OnboardingController::resetOnboarding() {
    flows::HTTPCookieStorage::shared().removeCookies(flows::HTTPCookieStorage::distantPast());
    flows::URLCache::shared().removeAllCachedResponses();
    defaults().remove(kAppOnboardedState);
    onboardOrRestoreWithoutSplash();
}

void OnboardingController::restoringCompletion(const flows::OnboardingResult& result) {
    if (const flows::OnboardingContext* context = result.context()) {
        logger()->debug("::: Restoring SUCCEEDED!");
        logSettings(*context);
        saveInfoFromContext(*context);
        setOnboardingStage(kStageInApplication);
        return;
    }
    flows::ErrorPtr error = result.error();
    logger()->error("::: Restoring FAILED! " + (error ? error->description() : std::string()));
    restoreFailed(error, [] {});
}

void OnboardingController::restoringCompletionCancel() {
    logger()->debug("::: Restoring CANCELLED!");
    setOnboardingStage(kStageInApplication);
}

void OnboardingController::restoreFailed(const flows::ErrorPtr& error, std::function<void()> completionHandler) {
    restoreFailed(error, std::move(completionHandler), presentationDelegate, false);
}

void OnboardingController::restoreFailed(const flows::ErrorPtr& error, std::function<void()> completionHandler,
                                         const Screens& screens, bool hostTold) {
    auto self = weak();
    const auto* store = flows::Error::as<flows::StoreManagerError>(error);
    using Case = flows::StoreManagerError::Case;
    if (store && store->errorCase() == Case::passcodeRetryLimitReached) {
        reset();
        showRetryLimitReachedAlertThenReset(screens, std::move(completionHandler));
        return;
    }
    if (store && store->errorCase() == Case::resetPasscode) {
        screens->dismiss([self, completionHandler] {
            if (auto s = self.lock()) s->reset();
            if (completionHandler) completionHandler();
        });
        return;
    }
    if (store && (store->errorCase() == Case::skipPasscodeSetup || store->errorCase() == Case::cancelPasscodeEntry)) {
        presentationDelegate->setInfoText(kStoreErrorResetText + store->description());
        screens->dismiss([self] {
            if (auto s = self.lock()) s->reset();
        });
        return;
    }
    if (store && (store->errorCase() == Case::storeNotFound || store->errorCase() == Case::storeCorrupted)) {
        // A store that can never open again: restoring would fail forever. A
        // host that heard of it onboards anew when it wants to; only a road
        // whose result nobody hears goes on to onboarding by itself, so that
        // its callback hears the new one.
        reset([self, hostTold] {
            auto s = self.lock();
            if (s && !hostTold) s->onboardOrRestoreWithoutSplash();
        });
        return;
    }
    // Anything else would fail the same way when restored again at once (a
    // store that cannot be read now, a step's own error): nothing starts by
    // itself, and nothing is reset; a retry is the host's or a person's call.
    logger()->error("::: the restore ends here: " + (error ? error->description() : std::string("no error")));
}

void OnboardingController::showRetryLimitReachedAlertThenReset(std::function<void()> completionHandler) {
    showRetryLimitReachedAlertThenReset(presentationDelegate, std::move(completionHandler));
}

void OnboardingController::showRetryLimitReachedAlertThenReset(const Screens& screens,
                                                               std::function<void()> completionHandler) {
    auto alert = ui::UIAlertController::make(OnboardingCustomization::get(Text::maxAttemptsReachedMessageString),
                                             OnboardingCustomization::get(Text::enterCredentialsMessageString));
    alert->addAction(ui::UIAlertAction::make(OnboardingCustomization::textOrDefault(Text::okButtonString),
                                             ui::UIAlertAction::Style::Default,
                                             [screens, completionHandler](ui::UIAlertAction&) {
                                                 screens->dismiss([completionHandler] {
                                                     if (completionHandler) completionHandler();
                                                 });
                                             }));
    screens->present(alert, [](flows::ErrorPtr) {});
}

void OnboardingController::reset(const Flows::Steps& flow, std::function<void()> completion) {
    if (std::optional<foundation::UUID> saved = savedOnboardingID()) {
        flows::OnboardingContext context = defaultInitialContext();
        context.onboardingID = *saved;
        flows::OnboardingFlowController::reset(flow, context,
                                               [completion]() mutable { clearWebData(std::move(completion)); });
    } else if (completion) {
        dispatch::MainQueue::shared().async(std::move(completion));
    }
    defaults().remove(kIsInitialLaunchKey);
    auto config = AppConfig::sharedInstance();
    config->zelURLSession.reset();
    config->credentialStore.reset();
}

void OnboardingController::reset(std::function<void()> completion) { reset(resetFlow(), std::move(completion)); }

Flows::Steps OnboardingController::resetFlow() const {
    // Without a flow of its own (a relaunch-only process) the same lists the
    // relaunch restore uses are reset, so the store really goes.
    const Flows& flows = currentFlow ? *currentFlow : Flows::availableFlows().at(Flows::kOAuth);
    Flows::Steps out;
    for (const auto& step : flows.onboardingFlow)
        if (!isSharedStoreStep(step)) out.push_back(step);
    return out;
}

void OnboardingController::reInitializePage(const core::Dictionary& newParams) {
    updateParams(newParams);
    if (!currentFlow) return;
    const Flows::Steps& list = currentFlow->onboardingFlow;
    if (!list.empty()) {
        if (auto welcome = std::dynamic_pointer_cast<WelcomeScreenStep>(list[0])) {
            auto provider = std::make_shared<PLOVOnboardingConfigurationProvider>();
            const Value* id = AppConfig::sharedInstance()->connectionSettings.find(AppConfig::kApplicationID);
            if (id && id->ifString())
                welcome->updateStartButtonState(*id->ifString());
            else
                services::SharedLoggerManager::log(kTrcLogger, "warn",
                                                   "no application id to refresh the start button with");
            welcome->providers = {provider};
            welcome->configurationLoader()->loadConfiguration({});
            return;
        }
    }
    if (list.size() > 1 && std::dynamic_pointer_cast<WelcomeScreenStep>(list[1])) isURLOnboarding = true;
}

void OnboardingController::viewWillAppear(bool animated) {
    ui::UINavigationController::viewWillAppear(animated);
    setOnboardingStage(kStageWelcome);
}

}  // namespace trc::onboarding
