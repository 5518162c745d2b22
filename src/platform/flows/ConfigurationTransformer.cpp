#include "platform/flows/ConfigurationTransformer.h"

#include "platform/flows/ConfigurationError.h"

namespace trc::flows {

OnboardingContext::Info ConfigurationTransformer::transform(const core::Value& config) {
    const core::Dictionary* settings = config.ifDictionary();
    if (!settings) throw ConfigurationError(ConfigurationError::Case::unreadable, "the settings are not a dictionary");
    OnboardingContext::Info info;
    for (const auto& rule : rules_) {
        const core::Value* value = settings->find(rule.sourceKey);
        if (!value || value->isNothing() || !rule.convert) continue;
        info[rule.target] = rule.convert(*value);
    }
    return info;
}

}  // namespace trc::flows
