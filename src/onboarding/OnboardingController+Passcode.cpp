// The onboarding controller's roads once a client is onboarded: the passcode
// change, the unlock and the verification, the relaunch restore with its
// probe, the warnings and retries after a failed restore, the blur screen and
// the store manager behind the passcode source.

#include <any>

#include "onboarding/ConnectionInfoToast.h"
#include "onboarding/NetworkCheckStep.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingResultObject.h"
#include "onboarding/RelaunchProbe.h"
#include "platform/core/ProcessState.h"
#include "platform/flows/ConfigurationTransformer.h"
#include "platform/flows/Logger.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OTPError.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/SAMLError.h"
#include "platform/flows/StoreManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsDownloadStep.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"
#include "services/AppConfig.h"
#include "services/SharedLoggerManager.h"

namespace trc::onboarding {

namespace {

using core::Value;
using flows::Error;
using flows::ErrorPtr;
using services::AppConfig;
using Case = flows::StoreManagerError::Case;
using Success = OnboardingController::Success;
using Failure = OnboardingController::Failure;

// The passcode change writes its failures where the other console lines of
// onboarding go.
constexpr const char* kConsoleLogger = NetworkCheckStep::kConsoleLogger;
constexpr const char* kPasscodeChangeFailedText = "Passcode change failed: ";

// The two warnings after a failed restore: keys of the "Onboarding" strings
// table and their English texts.
struct AlertText {
    const char* key;
    const char* english;
};
constexpr AlertText kInternetFailureTitle{"InternetFailureTitleKey", "Unaccessible Internet Connection"};
constexpr AlertText kInternetFailureMessage{
    "InternetFailureMessageKey",
    "Restoring application is not complete due to failure of accessing internet. Application is running in offline "
    "mode now."};
constexpr AlertText kRestoreFailureTitle{"RestoreFailureTitleKey", "Unsuccessful Restore"};
constexpr AlertText kRestoreFailureMessage{"RestoreFailureMessageKey",
                                           "Restoring application is not complete successfully. Retry now."};

using Operation = OnboardingController::PasscodeOperation;

Success successOf(std::shared_ptr<Operation> operation) {
    return [operation = std::move(operation)](const Value& value) {
        if (operation->settled) return;
        operation->settled = true;
        for (const auto& [resolve, reject] : operation->answers)
            if (resolve) resolve->resolve(value);
    };
}

Failure failureOf(std::shared_ptr<Operation> operation) {
    return [operation = std::move(operation)](std::optional<std::string> code, std::optional<std::string> message,
                                              ErrorPtr error) {
        if (operation->settled) return;
        operation->settled = true;
        auto text = [](const std::optional<std::string>& s) { return s ? Value(*s) : Value(); };
        for (const auto& [resolve, reject] : operation->answers)
            if (reject) reject->reject(text(code), text(message), error ? Value(error->description()) : Value());
    };
}

void fail(const Failure& failure, const std::string& message) { failure(std::nullopt, message, nullptr); }

std::shared_ptr<flows::CodableStoring> keptCredentialStore() {
    return std::dynamic_pointer_cast<flows::CodableStoring>(AppConfig::sharedInstance()->credentialStore);
}

void keepCredentialStore(const flows::OnboardingContext& context) {
    AppConfig::sharedInstance()->credentialStore = std::dynamic_pointer_cast<core::Object>(context.credentialStore);
}

// The store manager's description, marked when the client has to be reset.
std::string storeManagerMessage(const flows::StoreManagerError& error) {
    const bool resetsClient =
        error.errorCase() == Case::passcodeRetryLimitReached || error.errorCase() == Case::resetPasscode;
    return error.description() + (resetsClient ? OnboardingController::kResetClientSuffix : "");
}

bool isConnectionLoss(const ErrorPtr& error) {
    return error &&
           (error->code() == flows::URLError::notConnectedToInternet || error->code() == flows::URLError::timedOut);
}

// The page's error inside a failed sign-in page of any of the three
// authentications; nothing for another error.
std::optional<ErrorPtr> signInPageError(const ErrorPtr& error) {
    if (const auto* oauth = Error::as<flows::OAuth2Error>(error))
        return oauth->errorCase() == flows::OAuth2Error::Case::webView ? std::optional(oauth->innerError())
                                                                       : std::nullopt;
    if (const auto* saml = Error::as<flows::SAMLError>(error)) return saml->innerError();
    if (const auto* otp = Error::as<flows::OTPError>(error)) return otp->innerError();
    return std::nullopt;
}

// A cancelled flow is the person's doing when a screen's cancel ended it,
// with nothing behind it or the person's cancel of the sign-in; a screen that
// could not be shown or a run replaced by another is not.
bool cancelledByPerson(const flows::OnboardingError& cancelled) {
    const ErrorPtr& inner = cancelled.innerError();
    if (!inner) return true;
    if (const auto* oauth = Error::as<flows::OAuth2Error>(inner))
        return oauth->errorCase() == flows::OAuth2Error::Case::cancelled;
    return false;
}

// Whether the restore failure handling of the controller calls its
// completion for this error; where it does not, the host is answered at once.
bool restoreFailedCompletes(const flows::StoreManagerError& error) {
    return error.errorCase() == Case::passcodeRetryLimitReached || error.errorCase() == Case::resetPasscode;
}

Value keyWindowRootView() {
    auto window = ui::UIApplication::shared()->keyWindow();
    auto root = window ? window->rootViewController() : nullptr;
    return root ? Value(root->view()) : Value();
}

std::string localized(const AlertText& text) {
    return foundation::Bundle::framework()->localizedString(text.key, OnboardingCustomization::kStringsTable,
                                                            text.english);
}

// Shows a warning with its one button; when it cannot be shown at all,
// unshown runs instead, so the road still ends.
void presentWarning(flows::FlowPresentationDelegate& presenter, const AlertText& title, const AlertText& message,
                    std::function<void()> onButton, std::function<void()> unshown) {
    auto alert = ui::UIAlertController::make(localized(title), localized(message), ui::UIAlertController::Style::Alert);
    alert->addAction(ui::UIAlertAction::make(
        OnboardingCustomization::textOrDefault(OnboardingCustomization::Text::okButtonString),
        ui::UIAlertAction::Style::Default, [onButton = std::move(onButton)](ui::UIAlertAction&) { onButton(); }));
    presenter.present(alert, [unshown = std::move(unshown), key = title.key](ErrorPtr error) {
        if (!error) return;
        services::SharedLoggerManager::log(
            services::SharedLoggerManager::kTRCLogger, "error",
            std::string("the alert ") + key + " cannot be shown: " + error->description());
        unshown();
    });
}

}  // namespace

// --- Store managers and the passcode source ---

std::shared_ptr<flows::StoreManager> OnboardingController::storeManager() const {
    return storeManager(savedOnboardingID());
}

std::shared_ptr<flows::StoreManager> OnboardingController::storeManager(
    const std::optional<foundation::UUID>& onboardingId) const {
    if (!onboardingId || !savedOnboardingID()) return nullptr;
    return std::make_shared<flows::StoreManager>(
        *onboardingId, keptCredentialStore(),
        std::make_shared<flows::SecureKeyValueStoreManager>(flows::OnboardingInfoKey::secureStoreFolderPath));
}

std::shared_ptr<flows::StoreManager> OnboardingController::storeManagerForChangePasscode(const Screens& screens) const {
    std::optional<foundation::UUID> onboardingId = savedOnboardingID();
    std::shared_ptr<flows::CodableStoring> store = keptCredentialStore();
    // The passcode policy is read from the credential store; without one
    // (no unlock or restore in this run) there is nothing to change it with.
    if (!onboardingId || !store) return nullptr;
    std::optional<flows::VUIPasscodePolicy> policy;
    try {
        auto settings = std::make_shared<flows::ZELvornSettingsDownloadStep>(
            std::make_shared<flows::ConfigurationTransformer>(flows::ZELvornSettingsTransformationMap::rules()),
            flows::OnboardingInfoKey::zelvornSettingsParameters, flows::OnboardingInfoKey::previousSettings);
        const flows::OnboardingContext::Info info = settings->loadPersistedSettingsData(*store);
        if (auto it = info.find(flows::OnboardingInfoKey::passcodePolicy); it != info.end())
            if (const auto* kept = std::any_cast<flows::VUIPasscodePolicy>(&it->second)) policy = *kept;
    } catch (const std::exception& e) {
        logger()->warn(std::string("the kept settings cannot be read; the passcode change has no policy: ") + e.what());
    }
    return std::make_shared<flows::StoreManager>(
        *onboardingId, store,
        std::make_shared<flows::SecureKeyValueStoreManager>(flows::OnboardingInfoKey::secureStoreFolderPath),
        screens, policy);
}

std::int64_t OnboardingController::getPasscodeSource() const {
    std::shared_ptr<flows::StoreManager> manager = storeManager();
    if (!manager) return 0;
    switch (manager->passcodeState()) {
        case flows::PasscodeState::noPasscode: return 0;
        case flows::PasscodeState::passcode: return 1;
        case flows::PasscodeState::passcodeWithBiometric: return 2;
    }
    return 0;
}

// --- Which passcode operation runs ---

std::shared_ptr<OnboardingController::PasscodeOperation> OnboardingController::beginPasscodeOperation(
    const char* entry, Block resolve, Block reject) {
    if (auto running = passcodeOperation_.lock(); running && !running->settled) {
        // A second foreground unlock while one waits is the same unlock: one
        // screen, one outcome for both.
        if (std::string_view(running->entry) == kUnlockEntry && std::string_view(entry) == kUnlockEntry) {
            running->answers.emplace_back(std::move(resolve), std::move(reject));
            return nullptr;
        }
        // Anything else would take the running one's screens away; the
        // running one goes on untouched.
        const std::string message = kOperationInProgressText + std::string(running->entry);
        logger()->warn(std::string(entry) + " refused: " + message);
        if (reject) reject->reject(Value(), Value(message), Value());
        return nullptr;
    }
    auto operation = std::make_shared<PasscodeOperation>();
    operation->entry = entry;
    operation->answers.emplace_back(std::move(resolve), std::move(reject));
    operation->screens = std::make_shared<flows::ModalUIViewControllerPresenter>();
    passcodeOperation_ = operation;
    return operation;
}

// --- Passcode change ---

void OnboardingController::changeUserPasscode(Block resolve, Block reject) {
    auto operation = beginPasscodeOperation(kChangePasscodeEntry, std::move(resolve), std::move(reject));
    if (!operation) return;
    changeUserPasscode(successOf(operation), failureOf(operation), operation->screens);
}

void OnboardingController::changeUserPasscode(Success success, Failure failure, const Screens& screens) {
    std::shared_ptr<flows::StoreManager> manager = savedOnboardingID() ? storeManagerForChangePasscode(screens) : nullptr;
    if (!manager) {
        logger()->warn("no onboarded client with a credential store: the passcode cannot be changed");
        return fail(failure, kCouldNotRestore);
    }
    // The manager stays alive until its screens end the action.
    manager->performPasscodeAction(flows::PasscodeAction::change, [manager, success, failure](ErrorPtr error) {
        if (!error) return success(Value());
        services::SharedLoggerManager::log(kConsoleLogger, "info", kPasscodeChangeFailedText + error->description());
        if (const auto* store = Error::as<flows::StoreManagerError>(error))
            return fail(failure, storeManagerMessage(*store));
        if (Error::is<flows::OnboardingError>(error)) return fail(failure, kPasscodeChangeCanceled);
        fail(failure, "");
    });
}

// --- Unlock and verification ---

void OnboardingController::verifyPasscode(const core::Dictionary& verifyParams, Block resolve, Block reject) {
    const Value* allow = verifyParams.find(kAllowCancelKey);
    const bool allowCancel = !(allow && allow->ifBool()) || *allow->ifBool();
    auto operation = beginPasscodeOperation(kVerifyPasscodeEntry, std::move(resolve), std::move(reject));
    if (!operation) return;
    unlockScreen(true, allowCancel, successOf(operation), failureOf(operation), operation->screens);
}

void OnboardingController::unlockScreen(Block resolve, Block reject) {
    auto operation = beginPasscodeOperation(kUnlockEntry, std::move(resolve), std::move(reject));
    if (!operation) return;
    unlockScreen(false, false, successOf(operation), failureOf(operation), operation->screens);
}

void OnboardingController::unlockScreen(bool verify, bool showCancel, Success success, Failure failure,
                                        const Screens& screens) {
    auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(AppConfig::sharedInstance()->zelURLSession);
    std::optional<foundation::UUID> onboardingId = savedOnboardingID();
    std::shared_ptr<flows::CodableStoring> store = keptCredentialStore();
    if (!session || !onboardingId || !store) {
        logger()->warn("no onboarded client restored in this run: nothing to unlock");
        return fail(failure, kCouldNotRestore);
    }
    flows::OnboardingContext context(*onboardingId, store, screens);
    context.setZelURLSession(session);
    auto step = Flows::createStoreManagerStep();
    step->showsCancelButtonOnRestore = showCancel;
    auto self = weak();
    flows::OnboardingFlowController::restore(
        {step}, context, [self, verify, context, success, failure, screens](flows::OnboardingResult result) {
            auto s = self.lock();
            if (!s) return;
            ConnectionInfoToast::showToast(keyWindowRootView());
            if (result.isSuccess()) {
                success(Value());
                s->restoringCompletion(result);
                return;
            }
            ErrorPtr error = result.error();
            const auto* store = Error::as<flows::StoreManagerError>(error);
            if (verify && store && store->errorCase() == Case::cancelPasscodeEntry) {
                fail(failure, kCouldNotRestore);
                s->restoringCompletionCancel();
                return;
            }
            std::string message = store ? storeManagerMessage(*store) : std::string();
            if (message.empty()) message = kCouldNotRestore;
            s->restoreFlowFailureHandler(error, message, result, context, success, failure, screens);
        });
}

// --- Relaunch restore ---

void OnboardingController::restoreOnRelaunch(const core::Dictionary& relaunchParams, Block resolve, Block reject) {
    // A refused call changes nothing, not even the settings the running one reads.
    auto operation = beginPasscodeOperation(kRestoreOnRelaunchEntry, std::move(resolve), std::move(reject));
    if (!operation) return;
    updateParams(relaunchParams);
    restoreOnRelaunch(successOf(operation), failureOf(operation), operation->screens);
}

void OnboardingController::restoreOnRelaunch(Success success, Failure failure, const Screens& screens) {
    const Flows flows = currentFlow ? *currentFlow : Flows::availableFlows().at(Flows::kOAuth);
    std::optional<std::string> url =
        RelaunchProbe::probeableURL(AppConfig::sharedInstance()->connectionSettings.find(AppConfig::kVornURL));
    if (!url)
        return restoreOnRelaunch(flows.restoringFlowSkipDownload, std::move(success), std::move(failure), screens);
    auto self = weak();
    RelaunchProbe::probe(*url, [self, flows, success, failure, screens](bool reachable) {
        if (auto s = self.lock())
            s->restoreOnRelaunch(reachable ? flows.restoringFlow : flows.restoringFlowSkipDownload, success, failure,
                                 screens);
    });
}

void OnboardingController::restoreOnRelaunch(const Flows::Steps& flow, Success success, Failure failure,
                                             const Screens& screens) {
    flows::OnboardingContext context = defaultInitialContext();
    context.presentationDelegate = screens;
    std::optional<foundation::UUID> onboardingId = savedOnboardingID();
    if (!onboardingId) return fail(failure, kCouldNotRestore);
    context.onboardingID = *onboardingId;
    auto self = weak();
    flows::OnboardingFlowController::restore(
        flow, context, [self, context, success, failure, screens](flows::OnboardingResult result) {
            auto s = self.lock();
            if (!s) return;
            if (result.isSuccess()) {
                success(Value());
                s->restoringCompletion(result);
                return;
            }
            s->restoreFlowFailureHandler(result.error(), kCouldNotRestore, result, context, success, failure,
                                         screens);
        });
}

// --- After a failed restore ---

void OnboardingController::restoreFlowFailureHandler(const ErrorPtr& error, const std::string& errorMessage,
                                                     const flows::OnboardingResult& result,
                                                     const flows::OnboardingContext& context, Success success,
                                                     Failure failure, const Screens& screens) {
    if (hasRestoreConnectionFailure(error, result, context, success, screens)) return;
    if (const auto* onboarding = Error::as<flows::OnboardingError>(error);
        onboarding && onboarding->errorCase() == flows::OnboardingError::Case::cancelled) {
        if (cancelledByPerson(*onboarding)) {
            keepCredentialStore(context);
            return restoreOnRelaunch(std::move(success), std::move(failure), screens);
        }
        // Starting again here could go on without end; the warning's button
        // leaves the choice to the person.
        logger()->warn("the restore ended cancelled without the person: " + onboarding->description());
    } else if (const auto* store = Error::as<flows::StoreManagerError>(error)) {
        auto answer = [failure, errorMessage] { fail(failure, errorMessage); };
        if (!restoreFailedCompletes(*store)) answer();
        return restoreFailed(error, answer, screens, true);
    }
    handleRestoreFailureWithWarning(errorMessage, context, std::move(success), std::move(failure), screens);
}

bool OnboardingController::hasRestoreConnectionFailure(const ErrorPtr& error, const flows::OnboardingResult& result,
                                                       const flows::OnboardingContext& context,
                                                       const Success& success, const Screens& screens) {
    bool lost = isConnectionLoss(error);
    if (const auto* onboarding = Error::as<flows::OnboardingError>(error);
        !lost && onboarding && onboarding->errorCase() == flows::OnboardingError::Case::authenticationFailed &&
        onboarding->innerError()) {
        const ErrorPtr& inner = onboarding->innerError();
        std::optional<ErrorPtr> page = signInPageError(inner);
        lost = isConnectionLoss(page ? *page : inner);
    }
    if (lost) handleNoConnectionWithWarning(result, context, success, screens);
    return lost;
}

void OnboardingController::handleNoConnectionWithWarning(const flows::OnboardingResult& result,
                                                         const flows::OnboardingContext& context, Success success,
                                                         const Screens& screens) {
    auto self = weak();
    // The application goes on offline as a restored client; with no way to
    // show the warning it goes on all the same, as the button would.
    auto goOffline = [self, result, context, success] {
        auto s = self.lock();
        if (!s) return;
        success(Value(std::make_shared<OnboardingResultObject>(result)));
        s->restoringCompletion(flows::OnboardingResult::success(context));
    };
    presentWarning(*screens, kInternetFailureTitle, kInternetFailureMessage, goOffline, goOffline);
}

void OnboardingController::handleRestoreFailureWithWarning(const std::string& errorMessage,
                                                           const flows::OnboardingContext& context, Success success,
                                                           Failure failure, const Screens& screens) {
    auto self = weak();
    auto retry = [self, context, success, failure, screens] {
        auto s = self.lock();
        if (!s) return;
        keepCredentialStore(context);
        s->restoreOnRelaunch(success, failure, screens);
    };
    // Without the warning nobody can ask for the retry: the host hears of the
    // failure instead of waiting for ever.
    auto unshown = [failure, errorMessage] { fail(failure, errorMessage); };
    presentWarning(*screens, kRestoreFailureTitle, kRestoreFailureMessage, retry, unshown);
}

// --- Blur screen ---

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

}  // namespace trc::onboarding
