#pragma once
// The store of an onboarded client, as the application sees it after
// onboarding: whether it has a passcode (read from the store file, no screen
// needed) and passcode actions. PasscodeAction::change asks for the current
// passcode, then for a new one twice, and seals the store under the new one;
// it completes with no error, a StoreManagerError (wrong passcode until the
// retry limit, then passcodeRetryLimitReached; a missing or damaged store),
// or OnboardingError::cancelled when the person cancels. Main thread.

#include <functional>
#include <memory>
#include <optional>

#include "platform/flows/CodableStoring.h"
#include "platform/flows/Error.h"
#include "platform/flows/FlowPresentationDelegate.h"
#include "platform/flows/SecureKeyValueStoreManager.h"
#include "platform/flows/VUIPasscodePolicy.h"
#include "platform/foundation/UUID.h"

namespace trc::flows {

enum class PasscodeState { noPasscode, passcode, passcodeWithBiometric };
enum class PasscodeAction { change };

class StoreManager : public std::enable_shared_from_this<StoreManager> {
public:
    StoreManager(foundation::UUID storeID, std::shared_ptr<CodableStoring> credentialStore,
                 std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager,
                 std::shared_ptr<FlowPresentationDelegate> presentationDelegate = nullptr,
                 std::optional<VUIPasscodePolicy> passcodePolicy = std::nullopt);

    const foundation::UUID& storeID() const { return storeID_; }
    const std::shared_ptr<CodableStoring>& credentialStore() const { return credentialStore_; }
    const std::optional<VUIPasscodePolicy>& passcodePolicy() const { return passcodePolicy_; }

    // noPasscode also when there is no readable store.
    PasscodeState passcodeState() const;
    void performPasscodeAction(PasscodeAction action, std::function<void(ErrorPtr)> completion);

private:
    void askForNewPasscode(std::shared_ptr<SecureKeyValueStore> opened, std::function<void(ErrorPtr)> done);

    foundation::UUID storeID_;
    std::shared_ptr<CodableStoring> credentialStore_;
    std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager_;
    std::shared_ptr<FlowPresentationDelegate> presentationDelegate_;
    std::optional<VUIPasscodePolicy> passcodePolicy_;
};

}  // namespace trc::flows
