#include "platform/flows/StoreManager.h"

#include "platform/flows/CompositeStorage.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/VUIPasscodeController.h"

namespace trc::flows {

namespace {

using Done = std::function<void(ErrorPtr)>;

// Ends the action once, after the screen on show is gone.
Done once(std::shared_ptr<FlowPresentationDelegate> presenter, Done completion) {
    auto pending = std::make_shared<Done>(std::move(completion));
    return [presenter, pending](ErrorPtr error) {
        if (!*pending) return;
        auto done = std::move(*pending);
        *pending = nullptr;
        presenter->dismiss([done, error] {
            if (done) done(error);
        });
    };
}

}  // namespace

StoreManager::StoreManager(foundation::UUID storeID, std::shared_ptr<CodableStoring> credentialStore,
                           std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager,
                           std::shared_ptr<FlowPresentationDelegate> presentationDelegate,
                           std::optional<VUIPasscodePolicy> passcodePolicy)
    : storeID_(storeID),
      credentialStore_(std::move(credentialStore)),
      persistentStoreManager_(persistentStoreManager ? std::move(persistentStoreManager)
                                                     : std::make_shared<SecureKeyValueStoreManager>()),
      presentationDelegate_(std::move(presentationDelegate)),
      passcodePolicy_(passcodePolicy) {}

PasscodeState StoreManager::passcodeState() const {
    try {
        auto header = SecureKeyValueStore::readHeader(persistentStoreManager_->storePath(storeID_));
        if (!header) return PasscodeState::noPasscode;
        switch (header->mode) {
        case SecureKeyValueStore::Mode::passcode: return PasscodeState::passcode;
        case SecureKeyValueStore::Mode::passcodeWithBiometric: return PasscodeState::passcodeWithBiometric;
        case SecureKeyValueStore::Mode::noPasscode: return PasscodeState::noPasscode;
        }
    } catch (...) {
    }
    return PasscodeState::noPasscode;
}

void StoreManager::performPasscodeAction(PasscodeAction action, std::function<void(ErrorPtr)> completion) {
    if (action != PasscodeAction::change) return;
    if (!presentationDelegate_) {
        if (completion) completion(OnboardingError::missingArgument("presentationDelegate", "StoreManager").clone());
        return;
    }
    const auto path = persistentStoreManager_->storePath(storeID_);
    std::optional<SecureKeyValueStore::Header> header;
    try {
        header = SecureKeyValueStore::readHeader(path);
        if (!header) throw StoreManagerError(StoreManagerError::Case::storeNotFound);
        if (header->isLocked()) throw StoreManagerError(StoreManagerError::Case::passcodeRetryLimitReached);
        if (header->mode == SecureKeyValueStore::Mode::noPasscode) {
            askForNewPasscode(SecureKeyValueStore::open(path, std::nullopt), std::move(completion));
            return;
        }
    } catch (...) {
        if (completion) completion(UnexpectedError::fromCurrentException());
        return;
    }
    auto done = once(presentationDelegate_, std::move(completion));
    auto screen = VUIPasscodeController::make(VUIPasscodeController::Mode::enter,
                                              passcodePolicy_.value_or(VUIPasscodePolicy{}), true);
    screen->titleLabel()->text = VUIPasscodeController::text("changePasscodeTitleString");
    screen->messageLabel()->text = VUIPasscodeController::text("enterYourCurrentPasscodeMessageString");
    std::weak_ptr<VUIPasscodeController> weakScreen = screen;
    std::weak_ptr<StoreManager> weakSelf = weak_from_this();
    auto presenter = presentationDelegate_;
    screen->onPasscode = [done, path, weakScreen, weakSelf, presenter](const std::string& passcode) {
        std::shared_ptr<SecureKeyValueStore> opened;
        try {
            opened = SecureKeyValueStore::open(path, passcode);
        } catch (const StoreManagerError& e) {
            auto shown = weakScreen.lock();
            if (e.errorCase() == StoreManagerError::Case::wrongPasscode && shown)
                shown->showWrongPasscode(e.remainingAttempts());
            else
                done(e.clone());
            return;
        } catch (...) {
            done(UnexpectedError::fromCurrentException());
            return;
        }
        auto self = weakSelf.lock();
        if (!self) return done(OnboardingError::cancelled().clone());
        // The current passcode was right: the entry screen goes, the new one comes.
        presenter->dismiss([self, opened, done] { self->askForNewPasscode(opened, done); });
    };
    screen->onCancel = [done] { done(OnboardingError::cancelled().clone()); };
    presentationDelegate_->present(screen, [done](ErrorPtr error) {
        if (error) done(error);
    });
}

void StoreManager::askForNewPasscode(std::shared_ptr<SecureKeyValueStore> opened,
                                     std::function<void(ErrorPtr)> completion) {
    // Keep sealing the instance the application uses, so its later writes
    // go out under the new passcode too.
    std::shared_ptr<SecureKeyValueStore> target = opened;
    if (auto composite = std::dynamic_pointer_cast<CompositeStorage>(credentialStore_))
        if (auto inUse = std::dynamic_pointer_cast<SecureKeyValueStore>(composite->storage());
            inUse && inUse->path() == opened->path())
            target = inUse;
    bool biometric = target->mode() == SecureKeyValueStore::Mode::passcodeWithBiometric;
    auto done = once(presentationDelegate_, std::move(completion));
    auto screen = VUIPasscodeController::make(VUIPasscodeController::Mode::create,
                                              passcodePolicy_.value_or(VUIPasscodePolicy{}), true);
    screen->onPasscode = [done, target, biometric](const std::string& passcode) {
        try {
            target->changePasscode(passcode, biometric);
            done(nullptr);
        } catch (...) {
            done(UnexpectedError::fromCurrentException());
        }
    };
    screen->onCancel = [done] { done(OnboardingError::cancelled().clone()); };
    presentationDelegate_->present(screen, [done](ErrorPtr error) {
        if (error) done(error);
    });
}

}  // namespace trc::flows
