#include "onboarding/PasscodeOperations.h"

#include <any>

#include "onboarding/ConnectionInfoToast.h"
#include "onboarding/NetworkCheckStep.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingResultObject.h"
#include "onboarding/RelaunchProbe.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/ConfigurationTransformer.h"
#include "platform/flows/Logger.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OTPError.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/SAMLError.h"
#include "platform/flows/StoreManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/URLError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsDownloadStep.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"
#include "services/AppConfig.h"

namespace trc::onboarding {

namespace {

using core::Value;
using flows::Error;
using flows::ErrorPtr;
using services::AppConfig;
using Case = flows::StoreManagerError::Case;
using Text = OnboardingCustomization::Text;

constexpr const char* kLoggerName = "ZEL.Flows.Onboarding.PasscodeOperations";
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

const std::shared_ptr<flows::Logger>& logger() {
    static const std::shared_ptr<flows::Logger> shared = flows::Logger::shared(kLoggerName);
    return shared;
}

std::shared_ptr<flows::CodableStoring> keptCredentialStore() {
    return std::dynamic_pointer_cast<flows::CodableStoring>(AppConfig::sharedInstance()->credentialStore());
}

void keepCredentialStore(const flows::OnboardingContext& context) {
    AppConfig::sharedInstance()->setCredentialStore(std::dynamic_pointer_cast<core::Object>(context.credentialStore));
}

std::shared_ptr<flows::SecureKeyValueStoreManager> secureStores() {
    return std::make_shared<flows::SecureKeyValueStoreManager>(flows::OnboardingInfoKey::secureStoreFolderPath);
}

// The store manager's description, marked when the client has to be reset.
std::string storeManagerMessage(const flows::StoreManagerError& error) {
    const bool resetsClient =
        error.errorCase() == Case::passcodeRetryLimitReached || error.errorCase() == Case::resetPasscode;
    return error.description() + (resetsClient ? PasscodeOperations::kResetClientSuffix : "");
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
    alert->addAction(ui::UIAlertAction::make(OnboardingCustomization::textOrDefault(Text::okButtonString),
                                             ui::UIAlertAction::Style::Default,
                                             [onButton = std::move(onButton)](ui::UIAlertAction&) { onButton(); }));
    presenter.present(alert, [unshown = std::move(unshown), key = title.key](ErrorPtr error) {
        if (!error) return;
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string("the alert ") + key + " cannot be shown: " + error->description());
        unshown();
    });
}

}  // namespace

// --- One operation ---

// Where one operation shows its screens: a presenter of its own, which takes
// down only what it put up and, once closed, shows nothing more (a late
// step of an ended operation cannot put a screen over a new onboarding).
class PasscodeOperations::Screens : public flows::FlowPresentationDelegate {
public:
    void present(std::shared_ptr<ui::UIViewController> viewController, PresentCompletion completion) override {
        if (!closed_) return presenter_->present(std::move(viewController), std::move(completion));
        dispatch::MainQueue::shared().async([completion = std::move(completion)] {
            if (completion) completion(std::make_shared<flows::UnexpectedError>("the passcode operation has ended"));
        });
    }
    void dismiss(std::function<void()> completion) override { presenter_->dismiss(std::move(completion)); }
    void setInfoText(const std::string& text) override { presenter_->setInfoText(text); }
    void close() {
        closed_ = true;
        presenter_->dismiss({});
    }

private:
    std::shared_ptr<flows::ModalUIViewControllerPresenter> presenter_ =
        std::make_shared<flows::ModalUIViewControllerPresenter>();
    bool closed_ = false;
};

PasscodeOperations::Operation::Operation(const char* entry, std::optional<foundation::UUID> onboardingID)
    : entry_(entry), onboardingID_(std::move(onboardingID)), screens_(std::make_shared<Screens>()) {}

std::shared_ptr<flows::FlowPresentationDelegate> PasscodeOperations::Operation::screens() const { return screens_; }

void PasscodeOperations::Operation::join(Block resolve, Block reject) {
    answers_.emplace_back(std::move(resolve), std::move(reject));
}

bool PasscodeOperations::Operation::settle() {
    if (settled_) return false;
    settled_ = true;
    return true;
}

void PasscodeOperations::Operation::resolve(const Value& value) {
    if (!settle()) return;
    for (const auto& [resolve, reject] : answers_)
        if (resolve) resolve->resolve(value);
}

void PasscodeOperations::Operation::reject(const std::string& message) {
    if (!settle()) return;
    for (const auto& [resolve, reject] : answers_)
        if (reject) reject->reject(Value(), Value(message), Value());
}

void PasscodeOperations::Operation::end(const std::string& message) {
    if (ended_) return;
    reject(message);
    ended_ = true;
    screens_->close();
}

// --- Which operation runs ---

PasscodeOperations::PasscodeOperations(std::weak_ptr<Owner> owner) : owner_(std::move(owner)) {}

std::shared_ptr<PasscodeOperations> PasscodeOperations::goingOn(const std::weak_ptr<PasscodeOperations>& self,
                                                                const Operation& op) {
    if (op.ended()) return nullptr;
    return self.lock();
}

PasscodeOperations::OperationPtr PasscodeOperations::begin(const char* entry, Block resolve, Block reject) {
    std::erase_if(operations_, [](const auto& w) { return w.expired(); });
    auto running = operations_.empty() ? nullptr : operations_.back().lock();
    if (running && !running->settled() && !running->ended()) {
        // A second foreground unlock while one waits is the same unlock: one
        // screen, one outcome for both.
        if (std::string_view(running->entry()) == kUnlockEntry && std::string_view(entry) == kUnlockEntry) {
            running->join(std::move(resolve), std::move(reject));
            return nullptr;
        }
        // Anything else would take the running one's screens away; the
        // running one goes on untouched.
        const std::string message = kOperationInProgressText + std::string(running->entry());
        logger()->warn(std::string(entry) + " refused: " + message);
        if (reject) reject->reject(Value(), Value(message), Value());
        return nullptr;
    }
    auto owner = owner_.lock();
    auto op = std::make_shared<Operation>(entry, owner ? owner->savedOnboardingID() : std::nullopt);
    op->join(std::move(resolve), std::move(reject));
    operations_.push_back(op);
    return op;
}

void PasscodeOperations::endAll(const std::string& message) {
    for (const auto& w : operations_)
        if (auto op = w.lock()) {
            if (!op->settled()) logger()->info(std::string(op->entry()) + " ended: " + message);
            op->end(message);
        }
    operations_.clear();
}

// --- Store managers and the passcode source ---

std::int64_t PasscodeOperations::passcodeSource(const std::optional<foundation::UUID>& onboardingID) {
    if (!onboardingID) return 0;
    flows::StoreManager manager(*onboardingID, keptCredentialStore(), secureStores());
    switch (manager.passcodeState()) {
    case flows::PasscodeState::noPasscode: return 0;
    case flows::PasscodeState::passcode: return 1;
    case flows::PasscodeState::passcodeWithBiometric: return 2;
    }
    return 0;
}

std::shared_ptr<flows::StoreManager> PasscodeOperations::storeManagerForChangePasscode(const Operation& op) const {
    std::shared_ptr<flows::CodableStoring> store = keptCredentialStore();
    // The passcode policy is read from the credential store; without one
    // (no unlock or restore in this run) there is nothing to change it with.
    if (!op.onboardingID() || !store) return nullptr;
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
    return std::make_shared<flows::StoreManager>(*op.onboardingID(), store, secureStores(), op.screens(), policy);
}

// --- Passcode change ---

void PasscodeOperations::changeUserPasscode(Block resolve, Block reject) {
    auto op = begin(kChangePasscodeEntry, std::move(resolve), std::move(reject));
    if (!op) return;
    std::shared_ptr<flows::StoreManager> manager = storeManagerForChangePasscode(*op);
    if (!manager) {
        logger()->warn("no onboarded client with a credential store: the passcode cannot be changed");
        return op->reject(kCouldNotRestore);
    }
    // The manager stays alive until its screens end the action.
    manager->performPasscodeAction(flows::PasscodeAction::change, [manager, op](ErrorPtr error) {
        if (op->ended()) return;
        if (!error) return op->resolve(Value());
        core::SharedLoggerManager::log(kConsoleLogger, core::Severity::info,
                                       kPasscodeChangeFailedText + error->description());
        if (const auto* store = Error::as<flows::StoreManagerError>(error))
            return op->reject(storeManagerMessage(*store));
        if (Error::is<flows::OnboardingError>(error)) return op->reject(kPasscodeChangeCanceled);
        op->reject("");
    });
}

// --- Unlock and verification ---

void PasscodeOperations::verifyPasscode(const core::Dictionary& params, Block resolve, Block reject) {
    const Value* allow = params.find(kAllowCancelKey);
    const bool allowCancel = !(allow && allow->ifBool()) || *allow->ifBool();
    if (auto op = begin(kVerifyPasscodeEntry, std::move(resolve), std::move(reject))) unlock(op, true, allowCancel);
}

void PasscodeOperations::unlockScreen(Block resolve, Block reject) {
    if (auto op = begin(kUnlockEntry, std::move(resolve), std::move(reject))) unlock(op, false, false);
}

void PasscodeOperations::unlock(const OperationPtr& op, bool verify, bool showCancel) {
    auto session = std::dynamic_pointer_cast<flows::ZELURLSession>(AppConfig::sharedInstance()->zelURLSession());
    std::shared_ptr<flows::CodableStoring> store = keptCredentialStore();
    if (!session || !op->onboardingID() || !store) {
        logger()->warn("no onboarded client restored in this run: nothing to unlock");
        return op->reject(kCouldNotRestore);
    }
    flows::OnboardingContext context(*op->onboardingID(), store, op->screens());
    context.setZelURLSession(session);
    auto step = Flows::createStoreManagerStep();
    step->showsCancelButtonOnRestore = showCancel;
    auto self = weak_from_this();
    flows::OnboardingFlowController::restore(
        {step}, context, [self, op, verify, context](flows::OnboardingResult result) {
            auto s = goingOn(self, *op);
            if (!s) return;
            ConnectionInfoToast::showToast(keyWindowRootView());
            auto owner = s->owner_.lock();
            if (result.isSuccess()) {
                op->resolve(Value());
                if (owner) owner->restoringCompletion(result);
                return;
            }
            ErrorPtr error = result.error();
            const auto* store = Error::as<flows::StoreManagerError>(error);
            if (verify && store && store->errorCase() == Case::cancelPasscodeEntry) {
                op->reject(kCouldNotRestore);
                if (owner) owner->restoringCompletionCancel();
                return;
            }
            std::string message = store ? storeManagerMessage(*store) : std::string();
            if (message.empty()) message = kCouldNotRestore;
            s->restoreFailed(op, error, message, result, context);
        });
}

// --- Relaunch restore ---

void PasscodeOperations::restoreOnRelaunch(const core::Dictionary& params, Block resolve, Block reject) {
    auto op = begin(kRestoreOnRelaunchEntry, std::move(resolve), std::move(reject));
    // A refused call changes nothing, not even the settings the running one reads.
    if (!op) return;
    if (auto owner = owner_.lock()) owner->updateParams(params);
    restore(op);
}

void PasscodeOperations::restore(const OperationPtr& op) {
    auto owner = owner_.lock();
    if (!owner) return op->reject(kCouldNotRestore);
    const Flows flows = owner->restoreFlows();
    std::optional<std::string> url =
        RelaunchProbe::probeableURL(AppConfig::sharedInstance()->connectionSettings().find(AppConfig::kVornURL));
    if (!url) return restore(op, flows.restoringFlowSkipDownload);
    auto self = weak_from_this();
    RelaunchProbe::probe(*url, [self, op, flows](bool reachable) {
        if (auto s = goingOn(self, *op))
            s->restore(op, reachable ? flows.restoringFlow : flows.restoringFlowSkipDownload);
    });
}

void PasscodeOperations::restore(const OperationPtr& op, const Flows::Steps& flow) {
    auto owner = owner_.lock();
    if (!owner || !op->onboardingID()) return op->reject(kCouldNotRestore);
    flows::OnboardingContext context = owner->defaultInitialContext();
    context.presentationDelegate = op->screens();
    context.onboardingID = *op->onboardingID();
    auto self = weak_from_this();
    flows::OnboardingFlowController::restore(flow, context, [self, op, context](flows::OnboardingResult result) {
        auto s = goingOn(self, *op);
        if (!s) return;
        if (result.isSuccess()) {
            op->resolve(Value());
            if (auto owner = s->owner_.lock()) owner->restoringCompletion(result);
            return;
        }
        s->restoreFailed(op, result.error(), kCouldNotRestore, result, context);
    });
}

// --- After a failed restore ---

void PasscodeOperations::restoreFailed(const OperationPtr& op, const ErrorPtr& error, const std::string& message,
                                       const flows::OnboardingResult& result, const flows::OnboardingContext& context) {
    if (hasRestoreConnectionFailure(op, error, result, context)) return;
    if (const auto* onboarding = Error::as<flows::OnboardingError>(error);
        onboarding && onboarding->errorCase() == flows::OnboardingError::Case::cancelled) {
        if (cancelledByPerson(*onboarding)) {
            keepCredentialStore(context);
            return restore(op);
        }
        // Starting again here could go on without end; the warning's button
        // leaves the choice to the person.
        logger()->warn("the restore ended cancelled without the person: " + onboarding->description());
    } else if (const auto* store = Error::as<flows::StoreManagerError>(error)) {
        return storeErrorEnds(op, *store, message);
    }
    handleRestoreFailureWithWarning(op, message, context);
}

void PasscodeOperations::storeErrorEnds(const OperationPtr& op, const flows::StoreManagerError& error,
                                        const std::string& message) {
    auto self = weak_from_this();
    switch (error.errorCase()) {
    case Case::passcodeRetryLimitReached: {
        // The client is reset before the person hears of it.
        auto owner = owner_.lock();
        if (!owner) return op->reject(message);
        owner->reset(*op->onboardingID(), [self, op, message](ErrorPtr resetError) {
            if (!goingOn(self, *op)) return;
            showRetryLimitReachedAlert(op->screens(), [op, message, resetError] {
                if (!op->ended()) op->reject(resetError ? resetError->description() : message);
            });
        });
        return;
    }
    case Case::skipPasscodeSetup:
    case Case::cancelPasscodeEntry:
        if (auto owner = owner_.lock()) owner->setInfoText(kStoreErrorResetText + error.description());
        [[fallthrough]];
    case Case::resetPasscode:
        op->screens()->dismiss([self, op, message] {
            if (auto s = goingOn(self, *op)) s->resetThenReject(op, message);
        });
        return;
    case Case::storeNotFound:
    case Case::storeCorrupted:
        // A store that can never open again: restoring would fail
        // forever. The host that hears of it onboards anew when it wants.
        return resetThenReject(op, message);
    default:
        // Anything else would fail the same way when restored again at
        // once (a store that cannot be read now, a wrong passcode):
        // nothing starts by itself and nothing is reset; a retry is the
        // host's or a person's call.
        logger()->error(std::string("::: the restore ends here: ") + error.description());
        return op->reject(message);
    }
}

void PasscodeOperations::resetThenReject(const OperationPtr& op, const std::string& message) {
    auto owner = owner_.lock();
    if (!owner) return op->reject(message);
    auto self = weak_from_this();
    owner->reset(*op->onboardingID(), [self, op, message](ErrorPtr resetError) {
        if (goingOn(self, *op)) op->reject(resetError ? resetError->description() : message);
    });
}

bool PasscodeOperations::hasRestoreConnectionFailure(const OperationPtr& op, const ErrorPtr& error,
                                                     const flows::OnboardingResult& result,
                                                     const flows::OnboardingContext& context) {
    bool lost = isConnectionLoss(error);
    if (const auto* onboarding = Error::as<flows::OnboardingError>(error);
        !lost && onboarding && onboarding->errorCase() == flows::OnboardingError::Case::authenticationFailed &&
        onboarding->innerError()) {
        const ErrorPtr& inner = onboarding->innerError();
        std::optional<ErrorPtr> page = signInPageError(inner);
        lost = isConnectionLoss(page ? *page : inner);
    }
    if (lost) handleNoConnectionWithWarning(op, result, context);
    return lost;
}

void PasscodeOperations::handleNoConnectionWithWarning(const OperationPtr& op, const flows::OnboardingResult& result,
                                                       const flows::OnboardingContext& context) {
    auto self = weak_from_this();
    // The application goes on offline as a restored client; with no way to
    // show the warning it goes on all the same, as the button would.
    auto goOffline = [self, op, result, context] {
        auto s = goingOn(self, *op);
        if (!s) return;
        op->resolve(Value(std::make_shared<OnboardingResultObject>(result)));
        if (auto owner = s->owner_.lock()) owner->restoringCompletion(flows::OnboardingResult::success(context));
    };
    presentWarning(*op->screens(), kInternetFailureTitle, kInternetFailureMessage, goOffline, goOffline);
}

void PasscodeOperations::handleRestoreFailureWithWarning(const OperationPtr& op, const std::string& message,
                                                         const flows::OnboardingContext& context) {
    auto self = weak_from_this();
    auto retry = [self, op, context] {
        auto s = goingOn(self, *op);
        if (!s) return;
        keepCredentialStore(context);
        s->restore(op);
    };
    // Without the warning nobody can ask for the retry: the host hears of the
    // failure instead of waiting for ever.
    auto unshown = [op, message] {
        if (!op->ended()) op->reject(message);
    };
    presentWarning(*op->screens(), kRestoreFailureTitle, kRestoreFailureMessage, retry, unshown);
}

void PasscodeOperations::showRetryLimitReachedAlert(const std::shared_ptr<flows::FlowPresentationDelegate>& screens,
                                                    std::function<void()> completion) {
    auto alert = ui::UIAlertController::make(OnboardingCustomization::get(Text::maxAttemptsReachedMessageString),
                                             OnboardingCustomization::get(Text::enterCredentialsMessageString));
    alert->addAction(ui::UIAlertAction::make(OnboardingCustomization::textOrDefault(Text::okButtonString),
                                             ui::UIAlertAction::Style::Default,
                                             [screens, completion](ui::UIAlertAction&) {
                                                 screens->dismiss([completion] {
                                                     if (completion) completion();
                                                 });
                                             }));
    // An alert nobody can see has no button to wait for.
    screens->present(alert, [completion](ErrorPtr error) {
        if (error && completion) completion();
    });
}

}  // namespace trc::onboarding
