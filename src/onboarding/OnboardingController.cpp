#include "onboarding/OnboardingController.h"

#include <algorithm>
#include <cctype>

#include "onboarding/HostCallback.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingReset.h"
#include "onboarding/OnboardingStorageError.h"
#include "onboarding/PLOVOnboardingConfigurationProvider.h"
#include "onboarding/WelcomeScreenError.h"
#include "onboarding/WelcomeScreenStep.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/KeychainStoreManager.h"
#include "platform/flows/Logger.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "platform/flows/ZELvornUserRoles.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIInfoViewController.h"
#include "services/AppConfig.h"
#include "services/DataServiceUtils.h"
#include "services/VersionObserver.h"

namespace trc::onboarding {

namespace {

using core::Value;
using services::AppConfig;
using Text = OnboardingCustomization::Text;

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
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
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

bool isSharedStoreStep(const std::shared_ptr<flows::OnboardingStep>& step) {
    std::shared_ptr<flows::StoreManagerStep> store = OnboardingReset::storeStepOf(step);
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

const std::shared_ptr<PasscodeOperations>& OnboardingController::passcodeOperations() {
    if (!passcodeOperations_) {
        std::shared_ptr<Owner> owner = std::static_pointer_cast<OnboardingController>(shared_from_this());
        passcodeOperations_ = std::make_shared<PasscodeOperations>(owner);
    }
    return passcodeOperations_;
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
    if (auto store = std::dynamic_pointer_cast<flows::CodableStoring>(config->credentialStore()))
        context.credentialStore = store;
    if (auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(config->zelURLSession()))
        context.setZelURLSession(session);
    context.credentialStores[flows::CredentialStoreID::shared] = flows::CompositeStorage::makeInMemory();
    return context;
}

void OnboardingController::initialize(const core::Dictionary& newParams, std::shared_ptr<core::Object> newCallback) {
    // A passcode operation still waiting belongs to the onboarding this one
    // replaces: it ends now, before anything of the new one starts.
    passcodeOperations()->endAll(kOnboardingStartedAgainText);
    callback = std::move(newCallback);
    eulaAccepted = false;
    auto config = AppConfig::sharedInstance();
    config->setIsOnboarding(true);
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
        resetThen(start);
    else
        start();
}

void OnboardingController::updateParams(const core::Dictionary& newParams) {
    auto config = AppConfig::sharedInstance();
    bool rebuild = false;
    const Value* stored = config->connectionSettings().find(AppConfig::kAllowCerts);
    const Value* given = newParams.find("AllowCerts");
    if (stored && stored->ifBool() && given && !(given->ifBool() && *given->ifBool() == *stored->ifBool())) {
        config->setConnectionSetting(AppConfig::kAllowCerts, *given);
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
        config->setConnectionSetting(key.setting, v ? *v : Value());
    }
    config->setAppLabel(stringParam(params, "AppNameLabel"));
    config->setDetailLabel(stringParam(params, "DetailLabelViewText"));
    const Value* demo = params.find("IsDemoAvailable");
    config->setIsDemoAvailable(demo && demo->ifBool() ? std::optional<bool>(*demo->ifBool()) : std::nullopt);
    config->setWelcomeDetailLabel(stringParam(params, "WelcomeDetailLabel"));
    config->setSigninButtonText(stringParam(params, "SigninButtonText"));
    config->setDemoButtonText(stringParam(params, "DemoButtonText"));
    if (const Value* encrypt = params.find("EncryptDatabase"); encrypt && encrypt->ifBool())
        config->setEncryptDatabase(*encrypt->ifBool());
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
    config->setZelURLSession(session);
    config->setCredentialStore(std::dynamic_pointer_cast<core::Object>(context.credentialStore));
    if (context.credentialStore && !config->credentialStore())
        logger()->error("the credential store of the onboarding cannot be kept");
}

void OnboardingController::logSettings(const flows::OnboardingContext& context) {
    if (const auto* settings = context.infoValue<flows::ZELvornSettingsParameters>(
            flows::OnboardingInfoKey("ZELvornSettingsParameters"))) {
        logger()->debug("Current loglevel: " + flows::Logger::description(flows::Logger::root()->logLevel()));
        logger()->debug("ZELvornSettingsParameters from context.info: " + settings->description());
    }
}

void OnboardingController::onboardingCompletion(const flows::OnboardingResult& result) {
    if (const flows::OnboardingContext* context = result.context()) {
        // Nothing says it finished before a relaunch can find it.
        if (flows::ErrorPtr unsaved = saveOnboarding(*context)) {
            logger()->error("::: Onboarding FAILED! " + unsaved->description());
            onboardFailed(unsaved, context->onboardingID);
            return;
        }
        logger()->debug("::: Onboarding SUCCEEDED!");
        saveInfoFromContext(*context);
        logSettings(*context);
        if (const auto* settings = context->infoValue<flows::ZELvornSettingsParameters>(
                flows::OnboardingInfoKey::zelvornSettingsParameters))
            loadRegistrationInfo(*settings);
        presentationDelegate->dismiss([] {});
        didConfirmPasscode(context->onboardingID);
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

flows::ErrorPtr OnboardingController::saveOnboarding(const flows::OnboardingContext& context) {
    auto unsaved = [](const std::string& what) {
        return std::make_shared<OnboardingStorageError>(OnboardingStorageError::Case::notSaved, what);
    };
    // The settings of a code scanned for this onboarding; they went to the
    // user defaults when the code was taken, which may have failed.
    if (const auto* scanned = context.infoValue<core::Dictionary>(WelcomeScreenStep::scannedConnectionSettings)) {
        const char* key = AppConfig::kScannedConnectionSettingsKey;
        if (defaults().dictionaryForKey(key) != *scanned) defaults().setObject(key, Value(*scanned));
        if (defaults().dictionaryForKey(key) != *scanned)
            return unsaved(std::string("the user default \"") + key + "\"");
    }
    defaults().setObject(kAppOnboardedState, Value(context.onboardingID.uuidString()));
    if (savedOnboardingID() != context.onboardingID)
        return unsaved(std::string("the user default \"") + kAppOnboardedState + "\"");
    return nullptr;
}

void OnboardingController::loadRegistrationInfo(const flows::ZELvornSettingsParameters& settings) {
    auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(AppConfig::sharedInstance()->zelURLSession());
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
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, kCallbackIsNil);
    });
}

void OnboardingController::didConfirmPasscode(const foundation::UUID& onboardingID) {
    setOnboardingStage(kStageInApplication);
    auto config = AppConfig::sharedInstance();
    core::Dictionary data = config->data();
    if (!config->encryptDatabase()) {
        data.set(kOfflineKey, "");
    } else if (config->isOnboarding()) {
        if (std::optional<std::string> key = services::DataServiceUtils::generateOfflineStoreEncryptionKey())
            data.set(kOfflineKey, *key);
        else
            data.erase(kOfflineKey);
    } else {
        data.set(kOfflineKey, kUnusedOfflineKey);
    }
    // What this onboarding's own store says, whatever "onboarded" holds.
    config->setPasscodeSource(PasscodeOperations::passcodeSource(onboardingID));
    data.set(kPasscodeSourceKey, Value(static_cast<long long>(config->passcodeSource())));
    config->setData(std::move(data));
    config->removeBlur();
    if (callback) {
        HostCallback::send(callback, kFinishedOnboarding, Value(config->data()));
        config->setIsOnboarding(false);
        defaults().setObject(kIsInitialLaunchKey, Value(true));
    } else {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, kCallbackIsNil);
    }
}

void OnboardingController::enterDemoMode() {
    AppConfig::sharedInstance()->setIsOnboarding(false);
    core::Dictionary demo;
    if (std::optional<std::string> key = services::DataServiceUtils::generateOfflineStoreEncryptionKey())
        demo.set(kOfflineKey, *key);
    demo.set(kDemoPasscodeKey, kDemoPasscode);
    setOnboardingStage(kStageInAppFromDemo);
    HostCallback::send(callback, kFinishedOnboarding, Value(demo));
}

void OnboardingController::onboardFailed(const flows::ErrorPtr& error,
                                         const std::optional<foundation::UUID>& onboardingID) {
    auto self = weak();
    auto then = [self, error](flows::ErrorPtr) {
        auto s = self.lock();
        if (!s) return;
        const std::string description = lowered(error ? error->localizedDescription() : std::string());
        for (const std::string& keyword : s->onboardingCancelledKeywords()) {
            if (description.find(keyword) != std::string::npos) {
                s->resetOnboarding();
                return;
            }
        }
        s->showFailureAlert();
    };
    // A run that got as far as its own store has that store reset too.
    if (onboardingID) {
        flows::OnboardingContext context = defaultInitialContext();
        context.onboardingID = *onboardingID;
        OnboardingReset::reset(resetFlow(), context, then);
        return;
    }
    flows::OnboardingFlowController::reset(resetFlow(), flows::OnboardingContext(), [then] { then(nullptr); });
}

void OnboardingController::showFailureAlert() {
    auto self = weak();
    auto alert = ui::UIAlertController::make(
        OnboardingCustomization::get(Text::authenticationFailedMessageString).value_or(kFailedToOnboard),
        OnboardingCustomization::get(Text::onboardingFailedMessageString));
    alert->addAction(ui::UIAlertAction::make(OnboardingCustomization::get(Text::retryButtonString).value_or(kRetry),
                                             ui::UIAlertAction::Style::Default, [self](ui::UIAlertAction&) {
                                                 if (auto c = self.lock()) c->resetOnboarding();
                                             }));
    presentationDelegate->present(alert, [](flows::ErrorPtr) {});
}

void OnboardingController::resetOnboarding() {
    OnboardingReset::clearWebSession();
    if (!OnboardingReset::forgetOnboarding(std::nullopt)) {
        // Onboarding again over an onboarding that stays saved would restore
        // it instead; the person retries when storage lets go.
        logger()->error(std::string("the user default \"") + kAppOnboardedState + "\" cannot be removed");
        showFailureAlert();
        return;
    }
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
    auto self = weak();
    const auto* store = flows::Error::as<flows::StoreManagerError>(error);
    using Case = flows::StoreManagerError::Case;
    const Case errorCase = store ? store->errorCase() : Case::storeUnavailable;
    if (store && errorCase == Case::passcodeRetryLimitReached) {
        resetThen([self, completionHandler] {
            if (auto s = self.lock()) s->showRetryLimitReachedAlertThenReset(completionHandler);
        });
        return;
    }
    if (store && errorCase == Case::resetPasscode) {
        presentationDelegate->dismiss([self, completionHandler] {
            if (auto s = self.lock()) s->resetThen(completionHandler);
        });
        return;
    }
    if (store && (errorCase == Case::skipPasscodeSetup || errorCase == Case::cancelPasscodeEntry)) {
        presentationDelegate->setInfoText(PasscodeOperations::kStoreErrorResetText + store->description());
        presentationDelegate->dismiss([self] {
            if (auto s = self.lock()) s->resetThen([] {});
        });
        return;
    }
    if (store && (errorCase == Case::storeNotFound || errorCase == Case::storeCorrupted)) {
        // A store that can never open again: restoring would fail forever.
        // Nobody was told of this road, so onboarding starts anew and the
        // callback hears of that.
        resetThen([self] {
            if (auto s = self.lock()) s->onboardOrRestoreWithoutSplash();
        });
        return;
    }
    // Anything else would fail the same way when restored again at once (a
    // store that cannot be read now, a step's own error): nothing is reset
    // and nothing starts by itself; the failure alert leaves the retry to
    // the person, and the splash screen does not stay up with nobody told.
    logger()->error("::: the restore ends here: " + (error ? error->description() : std::string("no error")));
    showFailureAlert();
}

void OnboardingController::showRetryLimitReachedAlertThenReset(std::function<void()> completionHandler) {
    PasscodeOperations::showRetryLimitReachedAlert(presentationDelegate, std::move(completionHandler));
}

void OnboardingController::resetThen(std::function<void()> then) {
    auto self = weak();
    reset([self, then = std::move(then)](flows::ErrorPtr error) {
        auto s = self.lock();
        if (!s) return;
        if (!error) {
            if (then) then();
            return;
        }
        // Going on over an onboarding that is still there would find it
        // again, and again: the road ends here, once.
        s->logger()->error("::: the onboarding cannot go on: " + error->description());
        s->showFailureAlert();
    });
}

void OnboardingController::reset(const Flows::Steps& flow, ResetDone completion) {
    resetOnboardingOf(savedOnboardingID(), flow, std::move(completion));
}

void OnboardingController::reset(ResetDone completion) { reset(resetFlow(), std::move(completion)); }

void OnboardingController::reset(const foundation::UUID& onboardingID, ResetDone done) {
    resetOnboardingOf(onboardingID, resetFlow(), std::move(done));
}

void OnboardingController::resetOnboardingOf(const std::optional<foundation::UUID>& onboardingID,
                                             const Flows::Steps& flow, ResetDone done) {
    if (onboardingID) {
        flows::OnboardingContext context = defaultInitialContext();
        context.onboardingID = *onboardingID;
        OnboardingReset::reset(flow, context, std::move(done));
    } else {
        defaults().remove(kIsInitialLaunchKey);
        dispatch::MainQueue::shared().async([done = std::move(done)] {
            if (done) done(nullptr);
        });
    }
    auto config = AppConfig::sharedInstance();
    config->setZelURLSession(nullptr);
    config->setCredentialStore(nullptr);
}

Flows OnboardingController::restoreFlows() const {
    return currentFlow ? *currentFlow : Flows::availableFlows().at(Flows::kOAuth);
}

void OnboardingController::setInfoText(const std::string& text) { presentationDelegate->setInfoText(text); }

std::int64_t OnboardingController::getPasscodeSource() const {
    return PasscodeOperations::passcodeSource(savedOnboardingID());
}

// --- Passcode entries, routed to the operations ---

void OnboardingController::changeUserPasscode(Block resolve, Block reject) {
    passcodeOperations()->changeUserPasscode(std::move(resolve), std::move(reject));
}

void OnboardingController::verifyPasscode(const core::Dictionary& verifyParams, Block resolve, Block reject) {
    passcodeOperations()->verifyPasscode(verifyParams, std::move(resolve), std::move(reject));
}

void OnboardingController::unlockScreen(Block resolve, Block reject) {
    passcodeOperations()->unlockScreen(std::move(resolve), std::move(reject));
}

void OnboardingController::restoreOnRelaunch(const core::Dictionary& relaunchParams, Block resolve, Block reject) {
    passcodeOperations()->restoreOnRelaunch(relaunchParams, std::move(resolve), std::move(reject));
}

void OnboardingController::manageBlurScreen(const core::Dictionary& blurParams) {
    const Value* given = blurParams.find(kManageBlurScreenKey);
    std::optional<std::int64_t> action = given ? given->asInteger() : std::nullopt;
    if (!action) {
        logger()->debug("\"ManageBlurScreen\" is not a finite number; the blur screen stays as it is");
        return;
    }
    auto config = AppConfig::sharedInstance();
    if (*action == 0) {
        const Value* modal = blurParams.find(kModalKey);
        config->addBlurScreen(modal && modal->ifBool() && *modal->ifBool());
    } else if (*action == 1) {
        config->removeBlur();
    }
}

Flows::Steps OnboardingController::resetFlow() const {
    // Without a flow of its own (a relaunch-only process) the same lists the
    // relaunch restore uses are reset, so the store really goes.
    const Flows flows = restoreFlows();
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
            const Value* id = AppConfig::sharedInstance()->connectionSettings().find(AppConfig::kApplicationID);
            if (id && id->ifString())
                welcome->updateStartButtonState(*id->ifString());
            else
                core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
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
