#include "onboarding/OnboardingController.h"

#include "platform/flows/OnboardingError.h"
#include "platform/flows/OnboardingFlowController.h"
#include "platform/flows/StoreManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/foundation/UserDefaults.h"
#include "services/AppConfig.h"

namespace trc::onboarding {

namespace {

using core::Value;
using services::AppConfig;

void resolveWith(const OnboardingController::Block& resolve, const Value& value) {
    if (resolve) resolve->resolve(value);
}

void rejectWith(const OnboardingController::Block& reject, const std::string& message) {
    if (reject) reject->reject(Value(), Value(message), Value());
}

}  // namespace

std::int64_t OnboardingController::getPasscodeSource() const {
    std::optional<foundation::UUID> saved = savedOnboardingID();
    if (!saved) return 0;
    auto store = std::dynamic_pointer_cast<flows::CodableStoring>(AppConfig::sharedInstance()->credentialStore);
    flows::StoreManager manager(*saved, store,
                                std::make_shared<flows::SecureKeyValueStoreManager>(
                                    flows::OnboardingInfoKey::secureStoreFolderPath));
    switch (manager.passcodeState()) {
        case flows::PasscodeState::noPasscode: return 0;
        case flows::PasscodeState::passcode: return 1;
        case flows::PasscodeState::passcodeWithBiometric: return 2;
    }
    return 0;
}

void OnboardingController::manageBlurScreen(const core::Dictionary& blurParams) {
    const Value* v = blurParams.find(kManageBlurScreenKey);
    std::optional<double> number = v ? v->asDouble() : std::nullopt;
    if (!number || !(*number > -2.0 && *number < 2.0)) return;
    const int action = static_cast<int>(*number);
    auto config = AppConfig::sharedInstance();
    if (action == 0) {
        const Value* modal = blurParams.find(kModalKey);
        config->addBlurScreen(modal && modal->ifBool() && *modal->ifBool());
    } else if (action == 1) {
        config->removeBlur();
    }
}

void OnboardingController::unlock(bool verify, bool showCancel, Block resolve, Block reject) {
    auto config = AppConfig::sharedInstance();
    std::optional<foundation::UUID> saved = savedOnboardingID();
    if (!config->zelURLSession || !saved) {
        rejectWith(reject, kCouldNotRestore);
        return;
    }
    flows::OnboardingContext context = defaultInitialContext();
    context.onboardingID = *saved;
    context.presentationDelegate = presentationDelegate;
    auto step = Flows::createStoreManagerStep();
    step->showsCancelButtonOnRestore = showCancel;
    auto self = weak();
    flows::OnboardingFlowController::restore(
        {step}, context, [self, verify, resolve, reject](flows::OnboardingResult result) {
            auto s = self.lock();
            if (!s) return;
            if (result.isSuccess()) {
                resolveWith(resolve, Value());
                s->restoringCompletion(result);
                return;
            }
            flows::ErrorPtr error = result.error();
            const auto* store = flows::Error::as<flows::StoreManagerError>(error);
            if (verify && store && store->errorCase() == flows::StoreManagerError::Case::cancelPasscodeEntry) {
                rejectWith(reject, kCouldNotRestore);
                s->restoringCompletionCancel();
                return;
            }
            std::string message = error ? error->description() : std::string();
            if (message.empty()) message = kCouldNotRestore;
            rejectWith(reject, message);
            if (store) s->restoreFailed(error, [] {});
        });
}

void OnboardingController::unlockScreen(Block resolve, Block reject) {
    unlock(false, false, std::move(resolve), std::move(reject));
}

void OnboardingController::verifyPasscode(const core::Dictionary& verifyParams, Block resolve, Block reject) {
    const Value* allow = verifyParams.find(kAllowCancelKey);
    const bool allowCancel = !(allow && allow->ifBool()) || *allow->ifBool();
    unlock(true, allowCancel, std::move(resolve), std::move(reject));
}

void OnboardingController::restoreOnRelaunch(const core::Dictionary& relaunchParams, Block resolve, Block reject) {
    updateParams(relaunchParams);
    std::optional<foundation::UUID> saved = savedOnboardingID();
    if (!saved) {
        rejectWith(reject, kCouldNotRestore);
        return;
    }
    const Flows flows = currentFlow ? *currentFlow : Flows::availableFlows().at(Flows::kOAuth);
    flows::OnboardingContext context = defaultInitialContext();
    context.onboardingID = *saved;
    context.presentationDelegate = presentationDelegate;
    auto self = weak();
    flows::OnboardingFlowController::restore(
        flows.restoringFlow, context, [self, resolve, reject](flows::OnboardingResult result) {
            auto s = self.lock();
            if (!s) return;
            if (result.isSuccess()) {
                resolveWith(resolve, Value());
                s->restoringCompletion(result);
                return;
            }
            flows::ErrorPtr error = result.error();
            std::string message = error ? error->description() : std::string();
            rejectWith(reject, message.empty() ? std::string(kCouldNotRestore) : message);
            if (flows::Error::is<flows::StoreManagerError>(error)) s->restoreFailed(error, [] {});
        });
}

void OnboardingController::changeUserPasscode(Block resolve, Block reject) {
    std::optional<foundation::UUID> saved = savedOnboardingID();
    auto store = std::dynamic_pointer_cast<flows::CodableStoring>(AppConfig::sharedInstance()->credentialStore);
    if (!saved || !store) {
        rejectWith(reject, "");
        return;
    }
    auto manager = std::make_shared<flows::StoreManager>(
        *saved, store, std::make_shared<flows::SecureKeyValueStoreManager>(flows::OnboardingInfoKey::secureStoreFolderPath),
        presentationDelegate);
    manager->performPasscodeAction(flows::PasscodeAction::change, [resolve, reject](flows::ErrorPtr error) {
        if (!error) return resolveWith(resolve, Value());
        using Case = flows::StoreManagerError::Case;
        if (const auto* e = flows::Error::as<flows::StoreManagerError>(error)) {
            const bool resetsClient =
                e->errorCase() == Case::passcodeRetryLimitReached || e->errorCase() == Case::resetPasscode;
            return rejectWith(reject, e->description() + (resetsClient ? kResetClientSuffix : ""));
        }
        if (flows::Error::is<flows::OnboardingError>(error)) return rejectWith(reject, kPasscodeChangeCanceled);
        rejectWith(reject, "");
    });
}

}  // namespace trc::onboarding
