#pragma once
// Resets one onboarding, named by its ID, and checks that it is gone: the
// steps' reset (the store step deletes the onboarding's secure store), then
// the web session (cookies, cached responses, website data), the user
// default "isInitialLaunch" and, only while it still names this onboarding,
// "onboarded". A reset never touches another onboarding's "onboarded", so a
// late reset of an old onboarding cannot undo a new one.
//
// Storage may refuse to let go (a full disk, a read-only folder): the reset
// then ends with an OnboardingStorageError naming what is left, once, and
// tries nothing again by itself; whoever asked decides what the person sees.
//
// Class operations only; main thread.

#include <functional>
#include <memory>
#include <optional>

#include "onboarding/Flows.h"
#include "platform/flows/Error.h"
#include "platform/flows/OnboardingContext.h"
#include "platform/foundation/UUID.h"

namespace trc::flows {
class OnboardingStep;
class StoreManagerStep;
}  // namespace trc::flows

namespace trc::onboarding {

class OnboardingReset {
public:
    // Nothing when everything the reset removes is gone, else why not.
    using Done = std::function<void(flows::ErrorPtr)>;

    // Resets steps for the onboarding of context.onboardingID. done runs
    // once, on the main queue, when all of it is over.
    static void reset(const Flows::Steps& steps, const flows::OnboardingContext& context, Done done);

    // Removes the cookies and the cached responses, which a new sign-in must
    // not find.
    static void clearWebSession();
    // Removes "onboarded" when it names onboardingID (whatever it holds for
    // nothing); true when it does not name it afterwards.
    static bool forgetOnboarding(const std::optional<foundation::UUID>& onboardingID);

    // The store step a step is or wraps; nullptr for any other step.
    static std::shared_ptr<flows::StoreManagerStep> storeStepOf(const std::shared_ptr<flows::OnboardingStep>& step);
};

}  // namespace trc::onboarding
