#pragma once
// Turns a raw configuration (a host value, usually a dictionary read from
// JSON) into onboarding info keyed by OnboardingInfoKey. Throws an Error
// (ConfigurationError) for a configuration it cannot use. Main thread.

#include "platform/core/Value.h"
#include "platform/flows/OnboardingContext.h"

namespace trc::flows {

class ConfigurationTransforming {
public:
    virtual ~ConfigurationTransforming() = default;
    virtual OnboardingContext::Info transform(const core::Value& config) = 0;
};

}  // namespace trc::flows
