#pragma once
// Makes the context's URL session speak to the mobile-services server: every
// request then carries the application identifier ("X-Application-Id") of
// the settings parameters found in the context's info under the step's key.
// Without those parameters the step fails with OnboardingError
// missingArgument. Restore does the same; reset has nothing to undo.

#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class ZELvornSessionConfigurationStep : public OnboardingStep {
public:
    static constexpr const char* kApplicationIDHeader = "X-Application-Id";

    explicit ZELvornSessionConfigurationStep(OnboardingInfoKey infoKey = OnboardingInfoKey::zelvornSettingsParameters)
        : infoKey_(std::move(infoKey)) {}

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override {
        onboard(context, std::move(completion));
    }
    void reset(const OnboardingContext&, ResetCompletion completion) override { completion(); }

private:
    OnboardingInfoKey infoKey_;
};

}  // namespace trc::flows
