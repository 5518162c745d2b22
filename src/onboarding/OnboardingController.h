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
// The passcode, unlock, verification and relaunch entries go to the
// controller's PasscodeOperations, which owns each operation, its screens
// and the onboarding it belongs to; the controller is its Owner (the step
// lists, the contexts, the reset and the reports to the callback object).
// create:callback: ends a passcode operation still waiting (its host call is
// rejected, its screens go) before anything of the new onboarding starts.
//
// Every reset checks that what it removed is gone; when storage keeps part
// of it, the road ends there, once: logged, and on the controller's own
// roads the failure alert (whose retry is the person's to tap). An
// onboarding is reported done ("finishedOnboardingWithParams") only once
// "onboarded" (and the settings of a code scanned for it) are written and
// read back; otherwise it fails like any other onboarding and its new store
// is reset.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "onboarding/Flows.h"
#include "onboarding/PasscodeOperations.h"
#include "platform/core/Block.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OnboardingResult.h"
#include "platform/foundation/UUID.h"
#include "platform/ui/UINavigationController.h"

namespace trc::flows {
class Logger;
class ZELvornSettingsParameters;
}  // namespace trc::flows

namespace trc::onboarding {

class OnboardingController : public ui::UINavigationController, public PasscodeOperations::Owner {
    TRC_OBJECT(OnboardingController)
public:
    static constexpr const char* kAppOnboardedState = "onboarded";
    static constexpr const char* kIsInitialLaunchKey = "isInitialLaunch";
    static constexpr const char* kOfflineKey = "OfflineKey";
    static constexpr const char* kPasscodeSourceKey = "PasscodeSource";
    static constexpr const char* kDemoPasscodeKey = "Passcode";
    static constexpr const char* kDemoPasscode = "6093";
    static constexpr const char* kUnusedOfflineKey = "unused";
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
    // What a passcode operation that create:callback: ends hears.
    static constexpr const char* kOnboardingStartedAgainText = "Onboarding started again";

    using Block = std::shared_ptr<core::Block>;
    // Nothing when a reset removed everything, else the storage error.
    using ResetDone = std::function<void(flows::ErrorPtr)>;

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
    std::optional<foundation::UUID> savedOnboardingID() const override;
    flows::OnboardingContext defaultInitialContext() const override;
    void updateParams(const core::Dictionary& params) override;
    void onboardOrRestore();
    void onboardOrRestoreWithoutSplash();
    void onboardingCompletion(const flows::OnboardingResult& result);
    void restoringCompletion(const flows::OnboardingResult& result) override;
    void restoringCompletionCancel() override;
    void restoreFailed(const flows::ErrorPtr& error, std::function<void()> completionHandler);
    // Resets the steps of flow for the saved onboarding; completion runs once
    // that reset is done, or at once (on the main queue) when nothing is
    // saved.
    void reset(const Flows::Steps& flow, ResetDone completion = {});
    void reset(ResetDone completion = {});
    Flows::Steps resetFlow() const;
    // 0 no onboarded client or no passcode, 1 passcode, 2 with biometrics.
    std::int64_t getPasscodeSource() const;

    // PasscodeOperations::Owner.
    Flows restoreFlows() const override;
    void reset(const foundation::UUID& onboardingID, ResetDone done) override;
    void setInfoText(const std::string& text) override;

private:
    void setOnboardingStage(const std::string& stage);
    void saveInfoFromContext(const flows::OnboardingContext& context);
    void logSettings(const flows::OnboardingContext& context);
    void loadRegistrationInfo(const flows::ZELvornSettingsParameters& settings);
    // Writes what makes the onboarding of context last ("onboarded", the
    // settings of a code scanned for it) and reads it back; the storage
    // error when it does not read back.
    flows::ErrorPtr saveOnboarding(const flows::OnboardingContext& context);
    void didConfirmPasscode(const foundation::UUID& onboardingID);
    void enterDemoMode();
    // onboardingID: the onboarding the failed run made, whose store goes too.
    void onboardFailed(const flows::ErrorPtr& error, const std::optional<foundation::UUID>& onboardingID = {});
    void showFailureAlert();
    void resetOnboarding();
    void cacheWelcomeScreenAndConnSettings();
    void resetOnboardingOf(const std::optional<foundation::UUID>& onboardingID, const Flows::Steps& flow,
                           ResetDone done);
    // The reset of the controller's own road: on success then runs, else the
    // road ends at the failure alert.
    void resetThen(std::function<void()> then);
    const std::shared_ptr<PasscodeOperations>& passcodeOperations();
    std::weak_ptr<OnboardingController> weak();
    const std::shared_ptr<flows::Logger>& logger() const { return logger_; }

    std::vector<std::string> cancelledKeywords_{"oauth2error.cancelled", "the flow got cancelled"};
    std::shared_ptr<flows::Logger> logger_;
    std::shared_ptr<PasscodeOperations> passcodeOperations_;
};

}  // namespace trc::onboarding
