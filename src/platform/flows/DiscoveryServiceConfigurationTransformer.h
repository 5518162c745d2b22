#pragma once
// Reads a discovery-style connection configuration into the settings
// parameters (OnboardingInfoKey::zelvornSettingsParameters) and the OAuth2
// parameters (oauth2AuthenticationParameters).
//
// Accepted shape: {"host", "port" (optional, number or text), "protocol"
// (optional, "https" by default), and the OAuth2 entry either as "auth": a
// list of {"type": "oauth2", "config": {...}} or directly as "config"}. The
// OAuth2 entry holds "oauth2.authorizationEndpoint", "oauth2.tokenEndpoint",
// "oauth2.endUserUI" (optional) and "oauth2.clients", a list whose first
// entry has "clientID" and "redirectURL". Anything missing or of the wrong
// kind throws ConfigurationError naming it.
//
// applicationID and authenticationPath may be changed between loads; the
// custom transformer, when given, may add to the result.

#include <functional>
#include <optional>
#include <string>

#include "platform/flows/ConfigurationTransforming.h"

namespace trc::flows {

class DiscoveryServiceConfigurationTransformer : public ConfigurationTransforming {
public:
    using CustomTransformer = std::function<void(const core::Value& config, OnboardingContext::Info& result)>;

    explicit DiscoveryServiceConfigurationTransformer(std::string applicationID,
                                                      std::optional<std::string> applicationVersion = std::nullopt,
                                                      std::optional<std::string> deviceID = std::nullopt,
                                                      std::optional<std::string> authenticationPath = std::nullopt,
                                                      CustomTransformer customTransformer = nullptr);

    std::string applicationID;
    std::optional<std::string> applicationVersion;
    std::optional<std::string> deviceID;
    std::optional<std::string> authenticationPath;
    CustomTransformer customTransformer;

    OnboardingContext::Info transform(const core::Value& config) override;
};

}  // namespace trc::flows
