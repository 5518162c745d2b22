#pragma once
// The step that puts an onboarding's secrets behind a passcode.
//
// onboard: makes a new encrypted store for the onboarding identifier with a
// passcode the person chooses on the passcode screen (asked twice, checked
// against the policy from the context's info under the policy key, else the
// default policy), or without a passcode when the policy says none is
// needed; carries over everything earlier steps put into the context's
// in-memory credential store; the context then continues with the encrypted
// store as its credential store. Cancelling ends with OnboardingError
// cancelled.
//
// restore: opens the store (asking for the passcode; wrong tries count
// toward the retry limit) and continues with it as the credential store.
// Ends with StoreManagerError passcodeRetryLimitReached, cancelPasscodeEntry
// (cancel button, shown when showsCancelButtonOnRestore), resetPasscode,
// storeNotFound or storeCorrupted.
//
// reset: deletes the store of the context's onboarding identifier.

#include <memory>
#include <optional>

#include "platform/core/Object.h"
#include "platform/flows/OnboardingStep.h"
#include "platform/flows/SecureKeyValueStoreManager.h"
#include "platform/flows/VUIPasscodePolicy.h"
#include "platform/ui/UIImage.h"

namespace trc::flows {

class StoreManagerStep : public OnboardingStep {
public:
    StoreManagerStep(OnboardingInfoKey passcodePolicyInfoKey,
                     std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager);

    const OnboardingInfoKey& passcodePolicyInfoKey() const { return passcodePolicyInfoKey_; }
    const std::shared_ptr<SecureKeyValueStoreManager>& persistentStoreManager() const {
        return persistentStoreManager_;
    }

    bool showsCancelButtonOnRestore = false;
    // What the biometric unlock shows behind itself; nothing for none.
    std::shared_ptr<ui::UIImage> backgroundImageForTouchIDView;
    std::optional<VUIPasscodePolicy> defaultPasscodePolicy;

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override;
    void reset(const OnboardingContext& context, ResetCompletion completion) override;

    // The policy in force for a context.
    VUIPasscodePolicy policy(const OnboardingContext& context) const;
    // The context continuing with store as its credential store, holding
    // what the context's store held.
    static OnboardingContext continuedWith(const OnboardingContext& context,
                                           const std::shared_ptr<SecureKeyValueStore>& store, bool carryOver);

private:
    OnboardingInfoKey passcodePolicyInfoKey_;
    std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager_;
};

}  // namespace trc::flows
