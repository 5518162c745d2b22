#pragma once
// Where the encrypted stores of onboardings live and how costly their keys
// are: one store file per onboarding identifier, in the folder given at
// construction, else the folder the context's info names under the folder
// info key, else the application's own folder for secure stores.
//
// The key-derivation cost of new stores is libsodium's interactive limits.
// Main thread.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/flows/OnboardingContext.h"
#include "platform/flows/OnboardingInfoKey.h"
#include "platform/flows/SecureKeyValueStore.h"

namespace trc::flows {

class SecureKeyValueStoreManager {
public:
    explicit SecureKeyValueStoreManager(OnboardingInfoKey folderPathInfoKey = OnboardingInfoKey::secureStoreFolderPath,
                                        std::optional<std::string> folderPath = std::nullopt,
                                        std::optional<std::string> accessGroup = std::nullopt);
    virtual ~SecureKeyValueStoreManager() = default;

    const OnboardingInfoKey& folderPathInfoKey() const { return folderPathInfoKey_; }
    const std::optional<std::string>& folderPath() const { return folderPath_; }
    const std::optional<std::string>& accessGroup() const { return accessGroup_; }

    // The folder for a context (nullptr: without one).
    virtual std::filesystem::path folder(const OnboardingContext* context = nullptr) const;
    std::filesystem::path storePath(const foundation::UUID& storeID, const OnboardingContext* context = nullptr) const;

    // The cost new stores derive their keys with.
    static SecureKeyValueStore::KeyDerivationLimits keyDerivationLimits();

private:
    OnboardingInfoKey folderPathInfoKey_;
    std::optional<std::string> folderPath_;
    std::optional<std::string> accessGroup_;
};

}  // namespace trc::flows
