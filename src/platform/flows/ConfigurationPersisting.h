#pragma once
// Where a configuration loader hands the configuration it loaded: persist
// keeps it; resetPersistedConfiguration forgets it. Must not throw.

#include "platform/core/Value.h"

namespace trc::flows {

class ConfigurationPersisting {
public:
    // The credential-store key under which the onboarding configuration is kept.
    static constexpr const char* kPersistedConfigurationKey = "org.trc.flows.onboarding.configuration";

    virtual ~ConfigurationPersisting() = default;
    virtual void persist(const core::Dictionary& configuration) = 0;
    virtual void resetPersistedConfiguration() = 0;
};

}  // namespace trc::flows
