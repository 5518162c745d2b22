#pragma once
// Loads the onboarding configuration from its providers, in order. For each
// provider it first asks the delegate for input (an empty request when the
// provider expects none) and waits for the answer; then the provider
// provides. The first success is handed to the output handler (persist) and
// reported as complete; a provider's error is reported and ends the load;
// when no provider succeeds, the load completes without success.
//
// Every delegate call runs on the main queue, after loadConfiguration has
// returned. The loader keeps itself alive while a load runs; the delegate
// and the output handler are held weakly, so a load whose owner is gone
// ends quietly.

#include <memory>
#include <vector>

#include "platform/flows/ConfigurationLoaderDelegate.h"
#include "platform/flows/ConfigurationPersisting.h"
#include "platform/flows/ConfigurationProviding.h"

namespace trc::flows {

class ConfigurationLoader : public std::enable_shared_from_this<ConfigurationLoader> {
public:
    ConfigurationLoader(std::weak_ptr<ConfigurationLoaderDelegate> delegate,
                        std::vector<std::shared_ptr<ConfigurationProviding>> providers,
                        std::weak_ptr<ConfigurationPersisting> outputHandler);

    // userInputs: input already known, by provider identifier.
    void loadConfiguration(const core::Dictionary& userInputs);

    const std::vector<std::shared_ptr<ConfigurationProviding>>& providers() const { return providers_; }

private:
    void askFor(std::size_t index, core::Dictionary userInputs);
    void provide(std::size_t index, core::Dictionary userInputs);

    std::weak_ptr<ConfigurationLoaderDelegate> delegate_;
    std::vector<std::shared_ptr<ConfigurationProviding>> providers_;
    std::weak_ptr<ConfigurationPersisting> outputHandler_;
};

}  // namespace trc::flows
