// Feeds arbitrary text, as the mobile-services server's settings answer or a
// discovery configuration, to the transformers that turn it into onboarding
// information (the passcode policy among it). Bad input must end in a
// JsonError or a ConfigurationError; a policy that was taken stays in the
// bounds the settings allow.

#include <any>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/Json.h"
#include "platform/flows/ConfigurationError.h"
#include "platform/flows/ConfigurationTransformer.h"
#include "platform/flows/DiscoveryServiceConfigurationTransformer.h"
#include "platform/flows/VUIPasscodePolicy.h"
#include "platform/flows/ZELvornSettingsTransformationMap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trc::flows;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    trc::core::Value config;
    try {
        config = trc::core::Json::parse(text);
    } catch (const trc::core::JsonError&) {
        return 0;
    }
    try {
        ConfigurationTransformer settings(ZELvornSettingsTransformationMap::rules());
        auto info = settings.transform(config);
        if (auto it = info.find(OnboardingInfoKey::passcodePolicy); it != info.end()) {
            const auto* policy = std::any_cast<VUIPasscodePolicy>(&it->second);
            if (!policy || policy->minLength < 1 || policy->retryLimit < 0) std::abort();
        }
    } catch (const ConfigurationError&) {
    }
    try {
        DiscoveryServiceConfigurationTransformer discovery("app1", "1.0", "device-1", "auth/path");
        (void)discovery.transform(config);
    } catch (const ConfigurationError&) {
    }
    return 0;
}
