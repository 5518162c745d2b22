#include "platform/flows/KeychainStoreManager.h"

#include "platform/foundation/Sandbox.h"

namespace trc::flows {

KeychainStoreManager::KeychainStoreManager(std::string accessGroup)
    : SecureKeyValueStoreManager(OnboardingInfoKey::secureStoreFolderPath, std::nullopt, std::move(accessGroup)) {}

std::filesystem::path KeychainStoreManager::folder(const OnboardingContext*) const {
    std::string group = accessGroup().value_or("");
    // The group names a folder; keep it one plain path segment.
    for (char& c : group)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    if (group.empty() || group == "." || group == "..") group = "default";
    return foundation::Sandbox::root() / "Library" / "SharedStores" / group;
}

}  // namespace trc::flows
