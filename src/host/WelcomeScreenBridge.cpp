#include "host/WelcomeScreenBridge.h"

#include "host/WelcomeScreenDelegate.h"
#include "onboarding/OnboardingController.h"
#include "platform/core/ClassInfo.h"

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

}  // namespace trc::host
