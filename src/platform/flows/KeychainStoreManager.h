#pragma once
// A store manager whose stores sit in a folder shared by the applications of
// one access group (the application's own folder stands in for the shared
// one: there is no device keychain here). Resets of the onboarding leave a
// shared store alone.

#include "platform/flows/SecureKeyValueStoreManager.h"

namespace trc::flows {

class KeychainStoreManager : public SecureKeyValueStoreManager {
public:
    explicit KeychainStoreManager(std::string accessGroup);

    std::filesystem::path folder(const OnboardingContext* context = nullptr) const override;
};

}  // namespace trc::flows
