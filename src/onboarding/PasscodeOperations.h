#pragma once
// The passcode operations a host asks for once a client is onboarded: the
// foreground unlock, the verification, the passcode change and the relaunch
// restore (with its probe, its warnings and its retries). The onboarding
// controller owns one, routes those host entries here and is its Owner: it
// keeps the navigation and the reports to the host's callback object; the
// operations answer the host through the blocks each call brings.
//
// Each operation belongs to the onboarding it started for: it takes the
// onboarding ID ("onboarded") when it starts and only ever opens, changes or
// resets that onboarding, never whatever "onboarded" names when it ends. It
// shows its screens through a presenter of its own, which only it takes
// down. It answers its host calls once: one resolve, or one reject with a
// message; any answer after that is dropped.
//
// One operation at a time: a second foreground unlock while one waits joins
// it (one screen, one outcome for both); any other call meanwhile is refused
// at once and the running one goes on untouched. endAll (a new onboarding
// starting) rejects an operation still waiting, takes every operation's
// screens down, and from then on nothing of them runs: a screen answered
// later, a probe or a flow that ends later, an alert's button all change
// nothing.
//
// A relaunch restore starts again after a cancelled screen or the
// failed-restore alert only because a person acted; after a reject nothing
// starts by itself. A store error that ends the client resets the
// operation's onboarding first and answers after; a reset that cannot remove
// what it must is answered with that storage error instead.
//
// Main thread. Holds its owner weakly.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "onboarding/Flows.h"
#include "platform/core/Block.h"
#include "platform/flows/Error.h"
#include "platform/flows/FlowPresentationDelegate.h"
#include "platform/flows/OnboardingContext.h"
#include "platform/flows/OnboardingResult.h"
#include "platform/foundation/UUID.h"

namespace trc::flows {
class StoreManager;
class StoreManagerError;
}  // namespace trc::flows

namespace trc::onboarding {

class PasscodeOperations : public std::enable_shared_from_this<PasscodeOperations> {
public:
    using Block = std::shared_ptr<core::Block>;

    static constexpr const char* kAllowCancelKey = "AllowCancel";
    // Texts of the answers.
    static constexpr const char* kCouldNotRestore = "Onboarded client could not be restored!";
    static constexpr const char* kPasscodeChangeCanceled = "PASSCODE_CHANGE_CANCELED";
    static constexpr const char* kResetClientSuffix = " :Reset Client";
    static constexpr const char* kStoreErrorResetText = "Application reset because of store error ";
    static constexpr const char* kOperationInProgressText = "Another passcode operation is in progress: ";
    // The host entries, as a refused call hears which one is in progress.
    static constexpr const char* kUnlockEntry = "applicationWillEnterForeground:reject:";
    static constexpr const char* kVerifyPasscodeEntry = "verifyPasscode:resolve:reject:";
    static constexpr const char* kChangePasscodeEntry = "changeUserPasscode:reject:";
    static constexpr const char* kRestoreOnRelaunchEntry = "restoreOnRelaunch:resolve:reject:";

    // What the operations need of the onboarding they serve.
    class Owner {
    public:
        virtual ~Owner() = default;
        // The onboarding the user defaults name now ("onboarded").
        virtual std::optional<foundation::UUID> savedOnboardingID() const = 0;
        // The step lists a relaunch restore runs.
        virtual Flows restoreFlows() const = 0;
        // A context with the application's session and credential store.
        virtual flows::OnboardingContext defaultInitialContext() const = 0;
        // Takes in the host's parameters of a relaunch restore once it runs.
        virtual void updateParams(const core::Dictionary& params) = 0;
        // An unlock or restore succeeded: keep its session and store, and
        // tell the host's callback object.
        virtual void restoringCompletion(const flows::OnboardingResult& result) = 0;
        // A verification's passcode entry was cancelled.
        virtual void restoringCompletionCancel() = 0;
        // Resets the onboarding of onboardingID; done gets nothing once all
        // of it is gone, else the storage error.
        virtual void reset(const foundation::UUID& onboardingID, std::function<void(flows::ErrorPtr)> done) = 0;
        // Says why the application was reset.
        virtual void setInfoText(const std::string& text) = 0;
    };

private:
    class Screens;

public:
    // One operation: the onboarding it belongs to, its screens and the host
    // calls it answers, all with its one outcome.
    class Operation {
    public:
        Operation(const char* entry, std::optional<foundation::UUID> onboardingID);

        const char* entry() const { return entry_; }
        const std::optional<foundation::UUID>& onboardingID() const { return onboardingID_; }
        // Where it shows its screens; nothing more shows once it has ended.
        std::shared_ptr<flows::FlowPresentationDelegate> screens() const;
        // Another host call that hears this operation's outcome.
        void join(Block resolve, Block reject);
        // Each answers every call once; whatever comes after the first
        // answer is dropped.
        void resolve(const core::Value& value);
        void reject(const std::string& message);
        bool settled() const { return settled_; }
        // Rejects a call still waiting with message, takes the screens down
        // and marks the operation ended: nothing of it runs any more.
        void end(const std::string& message);
        bool ended() const { return ended_; }

    private:
        bool settle();

        const char* entry_;
        std::optional<foundation::UUID> onboardingID_;
        std::shared_ptr<Screens> screens_;
        std::vector<std::pair<Block, Block>> answers_;
        bool settled_ = false;
        bool ended_ = false;
    };

    explicit PasscodeOperations(std::weak_ptr<Owner> owner);

    // Host entries.
    void unlockScreen(Block resolve, Block reject);
    void verifyPasscode(const core::Dictionary& params, Block resolve, Block reject);
    void changeUserPasscode(Block resolve, Block reject);
    void restoreOnRelaunch(const core::Dictionary& params, Block resolve, Block reject);
    // Ends every operation (see Operation::end).
    void endAll(const std::string& message);

    // 0 no onboarded client or no passcode, 1 passcode, 2 with biometrics,
    // as the store of onboardingID says.
    static std::int64_t passcodeSource(const std::optional<foundation::UUID>& onboardingID);
    // The alert after the last wrong passcode; its button takes the screens
    // down, then runs completion.
    static void showRetryLimitReachedAlert(const std::shared_ptr<flows::FlowPresentationDelegate>& screens,
                                           std::function<void()> completion);

private:
    using OperationPtr = std::shared_ptr<Operation>;

    // The new operation for a host call, or nothing when the call was
    // answered here: refused while another is in progress, or joined to the
    // foreground unlock that waits.
    OperationPtr begin(const char* entry, Block resolve, Block reject);
    // This object, for a continuation of op: nothing once op has ended or
    // this object is gone, and the continuation then does nothing.
    static std::shared_ptr<PasscodeOperations> goingOn(const std::weak_ptr<PasscodeOperations>& self,
                                                       const Operation& op);

    std::shared_ptr<flows::StoreManager> storeManagerForChangePasscode(const Operation& op) const;
    void unlock(const OperationPtr& op, bool verify, bool showCancel);
    void restore(const OperationPtr& op);
    void restore(const OperationPtr& op, const Flows::Steps& flow);
    void restoreFailed(const OperationPtr& op, const flows::ErrorPtr& error, const std::string& message,
                       const flows::OnboardingResult& result, const flows::OnboardingContext& context);
    bool hasRestoreConnectionFailure(const OperationPtr& op, const flows::ErrorPtr& error,
                                     const flows::OnboardingResult& result, const flows::OnboardingContext& context);
    void storeErrorEnds(const OperationPtr& op, const flows::StoreManagerError& error, const std::string& message);
    // Resets op's onboarding, then answers with message, or with the storage
    // error when the reset leaves something behind.
    void resetThenReject(const OperationPtr& op, const std::string& message);
    void handleNoConnectionWithWarning(const OperationPtr& op, const flows::OnboardingResult& result,
                                       const flows::OnboardingContext& context);
    void handleRestoreFailureWithWarning(const OperationPtr& op, const std::string& message,
                                         const flows::OnboardingContext& context);

    std::weak_ptr<Owner> owner_;
    // Every operation that may still run; the last one is the one in progress.
    std::vector<std::weak_ptr<Operation>> operations_;
};

}  // namespace trc::onboarding
