#include "onboarding/NetworkCheckStepError.h"

#include <functional>

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/ProcessState.h"

namespace trc::onboarding {

namespace {

std::optional<std::string>& errorStringSlot() {
    static std::optional<std::string>& slot = []() -> std::optional<std::string>& {
        static std::optional<std::string> s;
        core::ProcessState::registerReset("onboarding.NetworkCheckStepError.networkErrorString", [] { s.reset(); });
        return s;
    }();
    return slot;
}

}  // namespace

const std::optional<std::string>& NetworkCheckStepError::networkErrorString() { return errorStringSlot(); }

void NetworkCheckStepError::setNetworkErrorString(std::optional<std::string> text) {
    errorStringSlot() = std::move(text);
}

std::string NetworkCheckStepError::description() const {
    // The host's text, not its localized default: before the host has set
    // any text the English default stands here.
    return OnboardingCustomization::get(OnboardingCustomization::Text::networkUnreachableString)
               .value_or(kNetworkUnavailableText) +
           " " + networkErrorString().value_or("");
}

flows::ErrorPtr NetworkCheckStepError::clone() const { return std::make_shared<NetworkCheckStepError>(*this); }

std::size_t NetworkCheckStepError::Hash::operator()(const NetworkCheckStepError& error) const {
    return std::hash<int>{}(error.code());
}

}  // namespace trc::onboarding
