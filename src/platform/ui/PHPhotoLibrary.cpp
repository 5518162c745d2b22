#include "platform/ui/PHPhotoLibrary.h"

#include <algorithm>
#include <optional>

#include "platform/core/ProcessState.h"
#include "platform/foundation/UUID.h"

namespace trc::ui {

namespace {

std::optional<PHPhotoLibrary>& slot() {
    static std::optional<PHPhotoLibrary> library;
    return library;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("ui.PHPhotoLibrary", [] { slot().reset(); });
    return true;
}();

template <class Key>
std::vector<std::shared_ptr<PHAsset>> matching(const std::vector<std::shared_ptr<PHAsset>>& assets,
                                               const std::vector<std::string>& wanted, Key key) {
    std::vector<std::shared_ptr<PHAsset>> out;
    for (const auto& asset : assets) {
        if (std::find(wanted.begin(), wanted.end(), key(*asset)) != wanted.end()) out.push_back(asset);
    }
    return out;
}

}  // namespace

const char* PHPhotoLibrary::statusName(AuthorizationStatus status) {
    switch (status) {
    case AuthorizationStatus::NotDetermined: return "notDetermined";
    case AuthorizationStatus::Restricted: return "restricted";
    case AuthorizationStatus::Denied: return "denied";
    case AuthorizationStatus::Authorized: return "authorized";
    case AuthorizationStatus::Limited: return "limited";
    }
    return "notDetermined";
}

PHPhotoLibrary& PHPhotoLibrary::shared() {
    auto& library = slot();
    if (!library) library.emplace();
    return *library;
}

std::shared_ptr<PHAsset> PHPhotoLibrary::addAsset(const std::filesystem::path& file, PHAsset::MediaType mediaType) {
    auto asset = std::make_shared<PHAsset>(foundation::UUID().uuidString() + "/L0/001", mediaType, file,
                                           file.filename().string());
    assets_.push_back(asset);
    return asset;
}

bool PHPhotoLibrary::mayRead() const {
    return authorizationStatus == AuthorizationStatus::Authorized ||
           authorizationStatus == AuthorizationStatus::Limited;
}

std::vector<std::shared_ptr<PHAsset>> PHPhotoLibrary::fetchAssetsWithALAssetURLs(
    const std::vector<std::string>& urls) const {
    if (!mayRead()) return {};
    return matching(assets_, urls, [](const PHAsset& a) { return a.assetURL(); });
}

std::vector<std::shared_ptr<PHAsset>> PHPhotoLibrary::fetchAssetsWithLocalIdentifiers(
    const std::vector<std::string>& ids) const {
    if (!mayRead()) return {};
    return matching(assets_, ids, [](const PHAsset& a) { return a.localIdentifier(); });
}

}  // namespace trc::ui
