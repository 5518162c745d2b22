#include "host/WelcomeScreenBridge.h"

#include "host/WelcomeScreenDelegate.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingCustomizationBridge.h"
#include "platform/core/ClassInfo.h"
#include "platform/vessa/VUIInfoViewController.h"
#include "platform/vessa/VUIOnboardingButton.h"
#include "platform/vessa/VUIOnboardingScanConfirmView.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"
#include "platform/vessa/VUIWelcomeScreen.h"
#include "services/AppConfig.h"
#include "services/ToastMessageView.h"

namespace trc::host {

namespace {

using core::Args;
using core::Value;
using onboarding::OnboardingController;

// The controller's message with the same arguments.
auto forward(const char* selector) {
    return [selector](WelcomeScreenBridge&, Args args) {
        return OnboardingController::sharedInstance()->perform(selector, args);
    };
}

}  // namespace

const core::ClassInfo& WelcomeScreenBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<WelcomeScreenBridge>("WelcomeScreenBridge", core::Object::classInfo())
            .constructible()
            .method("create:callback:",
                    [](WelcomeScreenBridge&, Args args) {
                        Value callback = args[1];
                        if (!callback.ifObject()) callback = Value(std::make_shared<WelcomeScreenDelegate>());
                        auto controller = OnboardingController::sharedInstance();
                        controller->perform("initialize:callback:", args[0], callback);
                        return Value(controller);
                    })
            .method("reInitializePage:", forward("reInitializePageWithParams:"))
            .method("manageBlurScreen:", forward("manageBlurScreenWithParams:"))
            .method("applicationWillEnterForeground:reject:", forward("unlockScreenWithResolve:reject:"))
            .method("restoreOnRelaunch:resolve:reject:", forward("restoreOnRelaunchWithParams:resolve:reject:"))
            .method("changeUserPasscode:reject:", forward("changeUserPasscodeWithResolve:reject:"))
            .method("verifyPasscode:resolve:reject:", forward("verifyPasscodeWithParams:resolve:reject:"))
            .build();
    return info;
}

void WelcomeScreenBridge::install() {
    classInfo();
    WelcomeScreenDelegate::classInfo();
    OnboardingController::classInfo();
    services::AppConfig::classInfo();
    vessa::VUIWelcomeScreen::classInfo();
    vessa::VUIOnboardingButton::classInfo();
    vessa::VUIOnboardingScanViewController::classInfo();
    vessa::VUIOnboardingScanConfirmView::classInfo();
    vessa::VUIInfoViewController::classInfo();
    onboarding::OnboardingCustomization::classInfo();
    onboarding::OnboardingCustomizationBridge::classInfo();
    services::ToastMessageView::classInfo();
}

}  // namespace trc::host
