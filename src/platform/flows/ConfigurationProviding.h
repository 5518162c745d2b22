#pragma once
// A source of the onboarding configuration (the application's own settings,
// a discovery service, a scanned code). It names itself, says which input it
// needs from the person (empty: none), and provides the configuration from
// that input: success with a dictionary, or no success, with or without an
// error. Main thread.

#include <optional>
#include <string>

#include "platform/core/Value.h"
#include "platform/flows/Error.h"

namespace trc::flows {

class ConfigurationProviding {
public:
    struct Provided {
        bool success = false;
        std::optional<core::Dictionary> configuration;
        ErrorPtr error;
    };

    virtual ~ConfigurationProviding() = default;

    virtual std::string providerIdentifier() const = 0;
    virtual core::Dictionary expectedInput() const { return {}; }
    virtual Provided provideConfiguration(const core::Dictionary& input) = 0;
};

}  // namespace trc::flows
