#pragma once
// Shows the end-user licence agreement and waits for the person. The content
// is given at construction or found in the context's info (an EULAContent
// under the given key). Agreeing (eulaAccepted) remembers the version in
// the context's credential store and ends the step with success; the
// default eulaRejected and the cancel button end it with OnboardingError
// cancelled. Subclasses may override both; an override that does not call
// the base leaves the step waiting. Restore shows the screen only when the
// remembered version is not this one. The customization handler sees the
// screen before it is shown.
//
// While the screen is up the step holds the flow's completion; it lets go
// once the step has ended, or when the process state is reset.

#include <functional>
#include <memory>
#include <optional>

#include "platform/flows/EULAContent.h"
#include "platform/flows/OnboardingStep.h"
#include "platform/flows/VUIEULAViewController.h"

namespace trc::flows {

class EULAStep : public OnboardingStep {
public:
    static constexpr const char* kAcceptedVersionKey = "org.trc.flows.eula.acceptedVersion";

    explicit EULAStep(EULAContent eulaContent);
    explicit EULAStep(OnboardingInfoKey eulaContentInfoKey);

    std::function<void(VUIEULAViewController&)> customizationHandler;

    virtual void eulaAccepted(VUIEULAViewController& screen);
    virtual void eulaRejected(VUIEULAViewController& screen);

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override;
    void reset(const OnboardingContext& context, ResetCompletion completion) override;

    // Drops a waiting run without completing it (the process state is reset).
    void abandon();

protected:
    // Ends the step (once): dismisses the screen, then completes.
    void finish(OnboardingResult result);

private:
    std::optional<EULAContent> content_;
    std::optional<OnboardingInfoKey> contentInfoKey_;
    std::optional<OnboardingContext> context_;
    std::optional<EULAContent> shown_;
    Completion completion_;
};

}  // namespace trc::flows
