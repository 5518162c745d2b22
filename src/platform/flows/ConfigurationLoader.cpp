#include "platform/flows/ConfigurationLoader.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/flows/UnexpectedError.h"

namespace trc::flows {

ConfigurationLoader::ConfigurationLoader(std::weak_ptr<ConfigurationLoaderDelegate> delegate,
                                         std::vector<std::shared_ptr<ConfigurationProviding>> providers,
                                         std::weak_ptr<ConfigurationPersisting> outputHandler)
    : delegate_(std::move(delegate)), providers_(std::move(providers)), outputHandler_(std::move(outputHandler)) {}

void ConfigurationLoader::loadConfiguration(const core::Dictionary& userInputs) {
    auto self = shared_from_this();
    dispatch::MainQueue::shared().async([self, userInputs] { self->askFor(0, userInputs); });
}

void ConfigurationLoader::askFor(std::size_t index, core::Dictionary userInputs) {
    auto delegate = delegate_.lock();
    if (!delegate) return;
    if (index >= providers_.size()) {
        delegate->configurationProviderDidComplete(nullptr, false);
        return;
    }
    const auto& provider = providers_[index];
    const std::string id = provider ? provider->providerIdentifier() : std::string();
    core::Dictionary request;
    if (provider) {
        core::Dictionary missing;
        const core::Value* known = userInputs.find(id);
        for (const auto& [key, value] : provider->expectedInput())
            if (!known || !known->ifDictionary() || !known->ifDictionary()->contains(key)) missing.set(key, value);
        if (!missing.empty()) request.set(id, core::Value(std::move(missing)));
    }
    auto self = shared_from_this();
    delegate->configurationProviderRequestedInput(
        *this, request, [self, index, userInputs](core::Dictionary answer) mutable {
            for (auto& [key, value] : answer) {
                core::Value* existing = userInputs.find(key);
                if (existing && existing->ifDictionary() && value.ifDictionary())
                    existing->mutableDictionary().merge(*value.ifDictionary());
                else
                    userInputs.set(key, value);
            }
            dispatch::MainQueue::shared().async([self, index, userInputs] { self->provide(index, userInputs); });
        });
}

void ConfigurationLoader::provide(std::size_t index, core::Dictionary userInputs) {
    auto delegate = delegate_.lock();
    if (!delegate || index >= providers_.size()) return;
    const auto& provider = providers_[index];
    if (!provider) return askFor(index + 1, std::move(userInputs));
    ConfigurationProviding::Provided provided;
    try {
        const core::Value* input = userInputs.find(provider->providerIdentifier());
        provided = provider->provideConfiguration(input && input->ifDictionary() ? *input->ifDictionary()
                                                                                 : core::Dictionary());
    } catch (...) {
        provided.error = UnexpectedError::fromCurrentException();
    }
    if (provided.error) {
        delegate->configurationProviderDidEncounter(provider, provided.error);
        return;
    }
    if (provided.success && provided.configuration) {
        if (auto output = outputHandler_.lock()) output->persist(*provided.configuration);
        delegate->configurationProviderDidComplete(provider, true);
        return;
    }
    askFor(index + 1, std::move(userInputs));
}

}  // namespace trc::flows
