#include "platform/flows/SecureKeyValueStoreManager.h"

#include "platform/flows/internal/KeyDerivationCost.h"
#include "platform/foundation/Sandbox.h"

namespace trc::flows {

SecureKeyValueStoreManager::SecureKeyValueStoreManager(OnboardingInfoKey folderPathInfoKey,
                                                       std::optional<std::string> folderPath,
                                                       std::optional<std::string> accessGroup)
    : folderPathInfoKey_(std::move(folderPathInfoKey)),
      folderPath_(std::move(folderPath)),
      accessGroup_(std::move(accessGroup)) {}

std::filesystem::path SecureKeyValueStoreManager::folder(const OnboardingContext* context) const {
    if (folderPath_ && !folderPath_->empty()) return *folderPath_;
    if (context)
        if (const auto* path = context->infoValue<std::string>(folderPathInfoKey_); path && !path->empty())
            return *path;
    return foundation::Sandbox::root() / "Library" / "Application Support" / "SecureStores";
}

std::filesystem::path SecureKeyValueStoreManager::storePath(const foundation::UUID& storeID,
                                                            const OnboardingContext* context) const {
    return folder(context) / (storeID.uuidString() + ".store");
}

SecureKeyValueStore::KeyDerivationLimits SecureKeyValueStoreManager::keyDerivationLimits() {
    return internal::KeyDerivationCost::limits();
}

}  // namespace trc::flows
