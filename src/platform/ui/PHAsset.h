#pragma once
// A photo or video of the device's photo library (see PHPhotoLibrary): its
// local identifier, media type, original file name (read by key, as
// "filename", nil when the library does not know it) and the library's
// address of it ("assets-library://asset/asset.<EXT>?id=<id>&ext=<EXT>").
// The headless library keeps each asset's content in a file; only the
// library and the image manager read it.
//
// Immutable once made; any thread. Made by PHPhotoLibrary.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/core/Object.h"
#include "platform/foundation/URL.h"

namespace trc::ui {

class PHAsset : public core::Object {
    TRC_OBJECT(PHAsset)
public:
    enum class MediaType { Unknown, Image, Video, Audio };
    static constexpr const char* kFilenameKey = "filename";
    static constexpr const char* kAssetsLibraryScheme = "assets-library";

    PHAsset(std::string localIdentifier, MediaType mediaType, std::filesystem::path file,
            std::optional<std::string> filename);

    const std::string& localIdentifier() const { return localIdentifier_; }
    MediaType mediaType() const { return mediaType_; }
    const std::optional<std::string>& filename() const { return filename_; }
    std::string assetURL() const;
    // Where the headless library keeps the content.
    const std::filesystem::path& file() const { return file_; }

    // The asset's full-size image file for editing, or none for what is no
    // image. Answers later, on a background queue.
    void requestContentEditingInput(
        std::function<void(std::optional<foundation::URL> fullSizeImageURL)> completion) const;

private:
    std::string localIdentifier_;
    MediaType mediaType_;
    std::filesystem::path file_;
    std::optional<std::string> filename_;
};

}  // namespace trc::ui
