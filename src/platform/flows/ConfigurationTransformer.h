#pragma once
// Turns a settings dictionary into onboarding info by a transformation map:
// each rule takes the value under one key of the settings, converts it, and
// stores it under an info key. Keys the settings lack are skipped; a value a
// rule cannot convert throws ConfigurationError. A configuration that is not
// a dictionary throws too.

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "platform/flows/ConfigurationTransforming.h"

namespace trc::flows {

class ConfigurationTransformer : public ConfigurationTransforming {
public:
    struct Rule {
        std::string sourceKey;
        OnboardingInfoKey target;
        std::function<std::any(const core::Value&)> convert;
    };

    explicit ConfigurationTransformer(std::vector<Rule> transformationMap) : rules_(std::move(transformationMap)) {}

    OnboardingContext::Info transform(const core::Value& config) override;

private:
    std::vector<Rule> rules_;
};

}  // namespace trc::flows
