#pragma once
// Downloads the application's settings from the mobile-services server (GET
// <backend>/mobileservices/application/<id>/settings, the id one encoded
// path segment, answered with a JSON object; an empty body counts as no
// settings), turns them into info with its transformer (the passcode policy,
// for one) and keeps them in the context's credential store, so that they
// can be read back without the server (loadPersistedSettingsData); when they
// cannot be kept (a full disk) that is logged and the flow goes on with the
// downloaded settings. The settings kept before the download go into info
// under the previous-settings key.
//
// Fails with the request's URLError, URLError badServerResponse for a status
// outside 2xx, a ConfigurationError for settings it cannot read, or
// OnboardingError missingArgument without settings parameters in info.

#include <memory>

#include "platform/flows/CodableStoring.h"
#include "platform/flows/ConfigurationTransformer.h"
#include "platform/flows/OnboardingStep.h"

namespace trc::flows {

class ZELvornSettingsDownloadStep : public OnboardingStep {
public:
    static constexpr const char* kPersistedSettingsKey = "org.trc.flows.onboarding.settings";

    ZELvornSettingsDownloadStep(std::shared_ptr<ConfigurationTransformer> transformer,
                                OnboardingInfoKey settingsInfoKey = OnboardingInfoKey::zelvornSettingsParameters,
                                OnboardingInfoKey previousSettingsInfoKey = OnboardingInfoKey::previousSettings);

    void onboard(const OnboardingContext& context, Completion completion) override;
    void restore(const OnboardingContext& context, Completion completion) override {
        onboard(context, std::move(completion));
    }
    void reset(const OnboardingContext& context, ResetCompletion completion) override;

    // The info of the settings kept in store; empty when none are kept.
    // Throws for a store that fails or settings that cannot be read.
    OnboardingContext::Info loadPersistedSettingsData(const CodableStoring& store) const;

private:
    std::shared_ptr<ConfigurationTransformer> transformer_;
    OnboardingInfoKey settingsInfoKey_;
    OnboardingInfoKey previousSettingsInfoKey_;
};

}  // namespace trc::flows
