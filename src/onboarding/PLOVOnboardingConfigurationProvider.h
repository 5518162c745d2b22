#pragma once
// The configuration provider of the welcome step: the connection settings
// the application holds (AppConfig::getAppConnectionSettings), always with
// success, whatever the input. It needs no input from the person.
// Main thread.

#include "platform/flows/ConfigurationProviding.h"

namespace trc::onboarding {

class PLOVOnboardingConfigurationProvider : public flows::ConfigurationProviding {
public:
    static constexpr const char* kProviderIdentifier = "PLOVOnboardingConfigurationProvider";

    explicit PLOVOnboardingConfigurationProvider(core::Dictionary expectedInput = {})
        : expectedInput_(std::move(expectedInput)) {}

    std::string providerIdentifier() const override { return kProviderIdentifier; }
    core::Dictionary expectedInput() const override { return expectedInput_; }
    Provided provideConfiguration(const core::Dictionary& input) override;

private:
    core::Dictionary expectedInput_;
};

}  // namespace trc::onboarding
