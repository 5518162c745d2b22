#include "onboarding/PLOVOnboardingConfigurationProvider.h"

#include "services/AppConfig.h"

namespace trc::onboarding {

flows::ConfigurationProviding::Provided PLOVOnboardingConfigurationProvider::provideConfiguration(
    const core::Dictionary&) {
    Provided out;
    out.success = true;
    out.configuration = services::AppConfig::sharedInstance()->getAppConnectionSettings();
    return out;
}

}  // namespace trc::onboarding
