#pragma once
// What a configuration loader tells while it loads: it completed (with the
// provider that delivered, or none and no success), a provider failed with
// an error, or a provider needs input from the person. An input request is
// a dictionary from provider identifier to that provider's expected input
// (empty when none is needed); the delegate answers through the completion,
// from any thread, with the same shape.

#include <functional>
#include <memory>

#include "platform/core/Value.h"
#include "platform/flows/ConfigurationProviding.h"

namespace trc::flows {

class ConfigurationLoader;

class ConfigurationLoaderDelegate {
public:
    virtual ~ConfigurationLoaderDelegate() = default;

    virtual void configurationProviderDidComplete(const std::shared_ptr<ConfigurationProviding>& provider,
                                                  bool success) = 0;
    virtual void configurationProviderDidEncounter(const std::shared_ptr<ConfigurationProviding>& provider,
                                                   ErrorPtr error) = 0;
    virtual void configurationProviderRequestedInput(ConfigurationLoader& loader, const core::Dictionary& input,
                                                     std::function<void(core::Dictionary)> completion) = 0;
};

}  // namespace trc::flows
