#pragma once
// The host's way into onboarding, registered as "WelcomeScreenBridge". It
// keeps nothing: each of its seven selectors hands its arguments to the one
// OnboardingController.
// - "create:callback:" (parameters, callback object; nil gets a new
//   WelcomeScreenDelegate) starts onboarding and returns the controller;
// - "reInitializePage:", "manageBlurScreen:" (parameters);
// - "applicationWillEnterForeground:reject:" and "changeUserPasscode:reject:"
//   take the resolve block first, then the reject block;
// - "restoreOnRelaunch:resolve:reject:", "verifyPasscode:resolve:reject:".
// Parameters that are not a dictionary count as none; blocks that are not
// blocks are not called. Main thread.

#include "platform/core/Object.h"

namespace trc::host {

class WelcomeScreenBridge : public core::Object {
    TRC_OBJECT(WelcomeScreenBridge)
public:
    // Makes the bridge and the onboarding classes a host may name known by name.
    static void install();
};

}  // namespace trc::host
