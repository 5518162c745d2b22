#pragma once
// The identifiers of the providers whose input requests a welcome screen
// answers with its own options: a discovery service (an e-mail address) and
// a JSON configuration (a scanned code).

namespace trc::flows {

class ConfigurationProviderNames {
public:
    static constexpr const char* discoveryService = "DiscoveryServiceConfigurationProvider";
    static constexpr const char* json = "JSONConfigurationProvider";
};

}  // namespace trc::flows
