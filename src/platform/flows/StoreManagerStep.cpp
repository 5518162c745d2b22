#include "platform/flows/StoreManagerStep.h"

#include "platform/flows/CompositeStorage.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/VUIPasscodeController.h"

namespace trc::flows {

namespace {

using Finish = std::function<void(OnboardingResult)>;

// Completes once: dismisses the screen first when there is one.
Finish finisher(std::shared_ptr<FlowPresentationDelegate> presenter, OnboardingStep::Completion completion) {
    auto pending = std::make_shared<OnboardingStep::Completion>(std::move(completion));
    return [presenter, pending](OnboardingResult result) {
        if (!*pending) return;
        auto done = std::move(*pending);
        *pending = nullptr;
        if (!presenter) return done(std::move(result));
        presenter->dismiss([done, result] { done(result); });
    };
}

std::shared_ptr<FlowPresentationDelegate> presenterOf(const OnboardingContext& context) {
    if (context.presentationDelegate) return context.presentationDelegate;
    return std::make_shared<ModalUIViewControllerPresenter>();
}

}  // namespace

StoreManagerStep::StoreManagerStep(OnboardingInfoKey passcodePolicyInfoKey,
                                   std::shared_ptr<SecureKeyValueStoreManager> persistentStoreManager)
    : passcodePolicyInfoKey_(std::move(passcodePolicyInfoKey)),
      persistentStoreManager_(persistentStoreManager ? std::move(persistentStoreManager)
                                                     : std::make_shared<SecureKeyValueStoreManager>()) {}

VUIPasscodePolicy StoreManagerStep::policy(const OnboardingContext& context) const {
    if (const auto* p = context.infoValue<VUIPasscodePolicy>(passcodePolicyInfoKey_)) return *p;
    return defaultPasscodePolicy.value_or(VUIPasscodePolicy{});
}

OnboardingContext StoreManagerStep::continuedWith(const OnboardingContext& context,
                                                  const std::shared_ptr<SecureKeyValueStore>& store, bool carryOver) {
    OnboardingContext next = context;
    if (carryOver)
        if (auto composite = std::dynamic_pointer_cast<CompositeStorage>(context.credentialStore))
            for (const auto& key : composite->storage()->keys())
                if (auto bytes = composite->storage()->get(key)) store->put(*bytes, key);
    next.credentialStore = std::make_shared<CompositeStorage>(store, std::make_shared<PlistCoder>());
    return next;
}

void StoreManagerStep::onboard(const OnboardingContext& context, Completion completion) {
    const auto path = persistentStoreManager_->storePath(context.onboardingID, &context);
    const VUIPasscodePolicy rules = policy(context);
    const auto limits = SecureKeyValueStoreManager::keyDerivationLimits();
    auto makeStore = [context, path, rules, limits](const std::optional<std::string>& passcode) {
        SecureKeyValueStore::destroy(path);
        auto store = SecureKeyValueStore::create(path, passcode, false,
                                                 static_cast<std::uint32_t>(std::max(rules.retryLimit, 0)), limits);
        return continuedWith(context, store, true);
    };
    if (!rules.isEnabled) {
        try {
            completion(OnboardingResult::success(makeStore(std::nullopt)));
        } catch (...) {
            completion(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
        }
        return;
    }
    auto presenter = presenterOf(context);
    auto finish = finisher(presenter, std::move(completion));
    auto screen = VUIPasscodeController::make(VUIPasscodeController::Mode::create, rules, true);
    screen->onPasscode = [finish, makeStore](const std::string& passcode) {
        try {
            finish(OnboardingResult::success(makeStore(passcode)));
        } catch (...) {
            finish(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
        }
    };
    screen->onCancel = [finish] { finish(OnboardingResult::failed(OnboardingError::cancelled())); };
    presenter->present(screen, [finish](ErrorPtr error) {
        if (error) finish(OnboardingResult::failed(error));
    });
}

void StoreManagerStep::restore(const OnboardingContext& context, Completion completion) {
    const auto path = persistentStoreManager_->storePath(context.onboardingID, &context);
    std::optional<SecureKeyValueStore::Header> header;
    try {
        header = SecureKeyValueStore::readHeader(path);
        if (!header) throw StoreManagerError(StoreManagerError::Case::storeNotFound);
        // A locked store takes no passcode: its owner hears so before any
        // screen, and resets it (again, when an earlier reset left it there).
        if (header->isLocked()) throw StoreManagerError(StoreManagerError::Case::passcodeRetryLimitReached);
        if (header->mode == SecureKeyValueStore::Mode::noPasscode) {
            completion(OnboardingResult::success(
                continuedWith(context, SecureKeyValueStore::open(path, std::nullopt), false)));
            return;
        }
    } catch (...) {
        completion(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
        return;
    }
    auto presenter = presenterOf(context);
    auto finish = finisher(presenter, std::move(completion));
    auto screen =
        VUIPasscodeController::make(VUIPasscodeController::Mode::enter, policy(context), showsCancelButtonOnRestore);
    std::weak_ptr<VUIPasscodeController> weakScreen = screen;
    screen->onPasscode = [finish, context, path, weakScreen](const std::string& passcode) {
        try {
            finish(OnboardingResult::success(continuedWith(context, SecureKeyValueStore::open(path, passcode), false)));
        } catch (const StoreManagerError& e) {
            auto shown = weakScreen.lock();
            if (e.errorCase() == StoreManagerError::Case::wrongPasscode && shown)
                shown->showWrongPasscode(e.remainingAttempts());
            else
                finish(OnboardingResult::failed(e));
        } catch (...) {
            finish(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
        }
    };
    screen->onCancel = [finish] {
        finish(OnboardingResult::failed(StoreManagerError(StoreManagerError::Case::cancelPasscodeEntry)));
    };
    screen->onResetPasscode = [finish] {
        finish(OnboardingResult::failed(StoreManagerError(StoreManagerError::Case::resetPasscode)));
    };
    presenter->present(screen, [finish](ErrorPtr error) {
        if (error) finish(OnboardingResult::failed(error));
    });
}

void StoreManagerStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    SecureKeyValueStore::destroy(persistentStoreManager_->storePath(context.onboardingID, &context));
    if (completion) completion();
}

}  // namespace trc::flows
