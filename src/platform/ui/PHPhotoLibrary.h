#pragma once
// The device's photo library, headless: the assets it holds (each kept in a
// file) and whether the person let the application see them. Until the
// person was asked the status is "not determined"; fetches find nothing
// unless access is authorized (fully or limited).
//
// One library per process, reset with the process state (a fresh device).
// Tests and the host simulator add assets and set the status as the person
// and the device would. Main thread only.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/PHAsset.h"

namespace trc::ui {

class PHPhotoLibrary {
public:
    enum class AuthorizationStatus { NotDetermined, Restricted, Denied, Authorized, Limited };
    static const char* statusName(AuthorizationStatus status);

    static PHPhotoLibrary& shared();

    AuthorizationStatus authorizationStatus = AuthorizationStatus::NotDetermined;

    // A new asset holding the file's content under a fresh local identifier;
    // its file name is the file's own.
    std::shared_ptr<PHAsset> addAsset(const std::filesystem::path& file, PHAsset::MediaType mediaType);
    const std::vector<std::shared_ptr<PHAsset>>& assets() const { return assets_; }

    // The assets whose library address is one of urls, in library order.
    std::vector<std::shared_ptr<PHAsset>> fetchAssetsWithALAssetURLs(const std::vector<std::string>& urls) const;
    std::vector<std::shared_ptr<PHAsset>> fetchAssetsWithLocalIdentifiers(const std::vector<std::string>& ids) const;

private:
    bool mayRead() const;

    std::vector<std::shared_ptr<PHAsset>> assets_;
};

}  // namespace trc::ui
