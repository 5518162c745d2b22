#pragma once
// Drives onboarding for the host: first-time onboarding, the restore of an
// onboarded client, demo mode, and the reset after failures. The host
// reaches it through WelcomeScreenBridge; it copies the host's parameters
// into AppConfig, runs the step lists of Flows with the flow framework,
// keeps the outcome (the authenticated session and credential store in
// AppConfig, the onboarding ID in the user default "onboarded") and tells
// the host through its callback object, by bare selector name:
// "setOnboardingStage" ("Welcome", "InApplication", "InAppFromDemo"),
// "finishedOnboardingWithParams", "finishedLoadingRegistrationInfo".
//
// A navigation controller: when the host shows it, it reports "Welcome".
// One instance per process (sharedInstance), dropped by a ProcessState
// reset. Every entry and every completion that reaches its state or
// AppConfig runs on the main queue.
//
// The passcode, unlock, relaunch and blur entries (OnboardingController+
// Passcode.cpp) always answer the host: every road ends in one resolve or
// one reject with a message, never in silence. One passcode operation runs
// at a time, on screens of its own: a second foreground unlock joins the one
// that waits, any other call meanwhile is refused at once, and the running
// one goes on untouched. A relaunch restore starts again after a cancelled
// screen or the failed-restore alert only because a person acted, never on
// its own; after a reject nothing (no restore, no onboarding) starts by
// itself.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "onboarding/Flows.h"
#include "platform/core/Block.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OnboardingResult.h"
#include "platform/foundation/UUID.h"
#include "platform/ui/UINavigationController.h"

namespace trc::flows {
class Logger;
class StoreManager;
class ZELvornSettingsParameters;
}  // namespace trc::flows

namespace trc::onboarding {

class OnboardingController : public ui::UINavigationController {
    TRC_OBJECT(OnboardingController)
public:
    static constexpr const char* kAppOnboardedState = "onboarded";
    static constexpr const char* kIsInitialLaunchKey = "isInitialLaunch";
    static constexpr const char* kOfflineKey = "OfflineKey";
    static constexpr const char* kPasscodeSourceKey = "PasscodeSource";
    static constexpr const char* kDemoPasscodeKey = "Passcode";
    static constexpr const char* kDemoPasscode = "6093";
    static constexpr const char* kUnusedOfflineKey = "unused";
    static constexpr const char* kAllowCancelKey = "AllowCancel";
    static constexpr const char* kManageBlurScreenKey = "ManageBlurScreen";
    static constexpr const char* kModalKey = "Modal";
    // The host's parameter keys of the two open connection settings.
    static constexpr const char* kVornURLParam = "VornURL";
    static constexpr const char* kEnableOverridesParam = "EnableOverrides";
    // Stages and callback names.
    static constexpr const char* kStageWelcome = "Welcome";
    static constexpr const char* kStageInApplication = "InApplication";
    static constexpr const char* kStageInAppFromDemo = "InAppFromDemo";
    static constexpr const char* kSetOnboardingStage = "setOnboardingStage";
    static constexpr const char* kFinishedOnboarding = "finishedOnboardingWithParams";
    static constexpr const char* kFinishedLoadingRegistrationInfo = "finishedLoadingRegistrationInfo";
    // Texts.
    static constexpr const char* kLoggerName = "ZEL.Flows.Onboarding.OnboardingController";
    static constexpr const char* kFailedToOnboard = "Failed to onboard!";
    static constexpr const char* kRetry = "Retry";
    static constexpr const char* kCallbackIsNil = "Callback is nil";
    static constexpr const char* kCouldNotRestore = "Onboarded client could not be restored!";
    static constexpr const char* kPasscodeChangeCanceled = "PASSCODE_CHANGE_CANCELED";
    static constexpr const char* kResetClientSuffix = " :Reset Client";
    static constexpr const char* kStoreErrorResetText = "Application reset because of store error ";
    // The host entries of the passcode operations, as a refused call hears
    // which one is in progress.
    static constexpr const char* kUnlockEntry = "applicationWillEnterForeground:reject:";
    static constexpr const char* kVerifyPasscodeEntry = "verifyPasscode:resolve:reject:";
    static constexpr const char* kChangePasscodeEntry = "changeUserPasscode:reject:";
    static constexpr const char* kRestoreOnRelaunchEntry = "restoreOnRelaunch:resolve:reject:";
    static constexpr const char* kOperationInProgressText = "Another passcode operation is in progress: ";

    using Block = std::shared_ptr<core::Block>;
    // How an operation answers: success with one value, failure with a code,
    // a message and an error (these roads pass only a message).
    using Success = std::function<void(const core::Value&)>;
    using Failure =
        std::function<void(std::optional<std::string> code, std::optional<std::string> message, flows::ErrorPtr error)>;
    // Where one operation shows its screens; dismissing takes down only those.
    using Screens = std::shared_ptr<flows::FlowPresentationDelegate>;

    // One passcode operation (unlock, verification, passcode change or
    // relaunch restore) and the host calls it answers, all with its one
    // outcome. It is in progress until it has settled.
    struct PasscodeOperation {
        const char* entry = "";
        std::vector<std::pair<Block, Block>> answers;
        bool settled = false;
        Screens screens;
    };

    OnboardingController();
    static std::shared_ptr<OnboardingController> sharedInstance();

    // The host's parameters of the last entry that carried them.
    core::Dictionary params;
    std::shared_ptr<core::Object> callback;
    bool eulaAccepted = false;
    std::optional<Flows> currentFlow;
    std::shared_ptr<flows::ModalUIViewControllerPresenter> presentationDelegate;
    const std::vector<std::string>& onboardingCancelledKeywords() const { return cancelledKeywords_; }

    static bool isURLOnboarding;

    // Host entries.
    void initialize(const core::Dictionary& params, std::shared_ptr<core::Object> callback);
    void reInitializePage(const core::Dictionary& params);
    void restoreOnRelaunch(const core::Dictionary& params, Block resolve, Block reject);
    void verifyPasscode(const core::Dictionary& params, Block resolve, Block reject);
    void unlockScreen(Block resolve, Block reject);
    void changeUserPasscode(Block resolve, Block reject);
    void manageBlurScreen(const core::Dictionary& params);
    void showRetryLimitReachedAlertThenReset(std::function<void()> completionHandler);
    void viewWillAppear(bool animated) override;

    // For the other onboarding roads.
    std::optional<foundation::UUID> savedOnboardingID() const;
    flows::OnboardingContext defaultInitialContext() const;
    void updateParams(const core::Dictionary& params);
    void onboardOrRestore();
    void onboardOrRestoreWithoutSplash();
    void onboardingCompletion(const flows::OnboardingResult& result);
    void restoringCompletion(const flows::OnboardingResult& result);
    void restoringCompletionCancel();
    void restoreFailed(const flows::ErrorPtr& error, std::function<void()> completionHandler);
    // Resets the steps of flow for the saved onboarding; completion runs once
    // that reset (and the removal of "onboarded") is done, or at once (on the
    // main queue) when nothing is saved.
    void reset(const Flows::Steps& flow, std::function<void()> completion = {});
    void reset(std::function<void()> completion = {});
    Flows::Steps resetFlow() const;
    // 0 no onboarded client or no passcode, 1 passcode, 2 with biometrics.
    std::int64_t getPasscodeSource() const;

private:
    void setOnboardingStage(const std::string& stage);
    void saveInfoFromContext(const flows::OnboardingContext& context);
    void logSettings(const flows::OnboardingContext& context);
    void loadRegistrationInfo(const flows::ZELvornSettingsParameters& settings);
    void didConfirmPasscode();
    void enterDemoMode();
    void onboardFailed(const flows::ErrorPtr& error);
    void resetOnboarding();
    void cacheWelcomeScreenAndConnSettings();
    // The store of the onboarded client (the credential store may be absent
    // before an unlock or restore); nullptr without an onboarded client.
    std::shared_ptr<flows::StoreManager> storeManager() const;
    std::shared_ptr<flows::StoreManager> storeManager(const std::optional<foundation::UUID>& onboardingId) const;
    // The new operation for a host call, or nothing when the call was
    // answered here: refused while another operation is in progress, or
    // joined to the foreground unlock that waits.
    std::shared_ptr<PasscodeOperation> beginPasscodeOperation(const char* entry, Block resolve, Block reject);
    void changeUserPasscode(Success success, Failure failure, const Screens& screens);
    std::shared_ptr<flows::StoreManager> storeManagerForChangePasscode(const Screens& screens) const;
    void unlockScreen(bool verify, bool showCancel, Success success, Failure failure, const Screens& screens);
    void restoreOnRelaunch(Success success, Failure failure, const Screens& screens);
    void restoreOnRelaunch(const Flows::Steps& flow, Success success, Failure failure, const Screens& screens);
    void restoreFlowFailureHandler(const flows::ErrorPtr& error, const std::string& errorMessage,
                                   const flows::OnboardingResult& result, const flows::OnboardingContext& context,
                                   Success success, Failure failure, const Screens& screens);
    bool hasRestoreConnectionFailure(const flows::ErrorPtr& error, const flows::OnboardingResult& result,
                                     const flows::OnboardingContext& context, const Success& success,
                                     const Screens& screens);
    void handleRestoreFailureWithWarning(const std::string& errorMessage, const flows::OnboardingContext& context,
                                         Success success, Failure failure, const Screens& screens);
    void handleNoConnectionWithWarning(const flows::OnboardingResult& result, const flows::OnboardingContext& context,
                                       Success success, const Screens& screens);
    // The store errors' handling for a road whose host was told (hostTold:
    // nothing new starts by itself) or not; screens are the failed
    // operation's.
    void restoreFailed(const flows::ErrorPtr& error, std::function<void()> completionHandler, const Screens& screens,
                       bool hostTold);
    void showRetryLimitReachedAlertThenReset(const Screens& screens, std::function<void()> completionHandler);
    std::weak_ptr<OnboardingController> weak();
    const std::shared_ptr<flows::Logger>& logger() const { return logger_; }

    std::vector<std::string> cancelledKeywords_{"oauth2error.cancelled", "the flow got cancelled"};
    std::shared_ptr<flows::Logger> logger_;
    std::weak_ptr<PasscodeOperation> passcodeOperation_;
};

}  // namespace trc::onboarding
