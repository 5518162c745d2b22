#include "platform/flows/SecureKeyValueStoreManager.h"

#include <mutex>

#include "platform/core/ProcessState.h"
#include "platform/foundation/Sandbox.h"

namespace trc::flows {

namespace {

struct Limits {
    std::mutex mutex;
    SecureKeyValueStore::KeyDerivationLimits value = SecureKeyValueStore::KeyDerivationLimits::interactive();
};

Limits& limits() {
    static Limits& l = []() -> Limits& {
        static Limits s;
        core::ProcessState::registerReset("flows.SecureKeyValueStoreManager.limits", [] {
            std::lock_guard<std::mutex> lock(s.mutex);
            s.value = SecureKeyValueStore::KeyDerivationLimits::interactive();
        });
        return s;
    }();
    return l;
}

}  // namespace

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
    std::lock_guard<std::mutex> lock(limits().mutex);
    return limits().value;
}

void SecureKeyValueStoreManager::setKeyDerivationLimits(SecureKeyValueStore::KeyDerivationLimits value) {
    std::lock_guard<std::mutex> lock(limits().mutex);
    limits().value = value;
}

}  // namespace trc::flows
