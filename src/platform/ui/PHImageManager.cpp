#include "platform/ui/PHImageManager.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/dispatch/GlobalQueue.h"

namespace trc::ui {

namespace {

// Asset files are the library's own; a larger one is treated as unreadable.
constexpr std::uintmax_t kMaxAssetBytes = 256u << 20;

std::optional<core::Data> readWhole(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxAssetBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    core::Data bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return std::nullopt;
    return bytes;
}

}  // namespace

std::shared_ptr<UIImage> PHImageManager::scaled(const UIImage& image, CGSize targetSize,
                                                UIViewContentMode contentMode) {
    const double w = image.width(), h = image.height();
    if (w <= 0 || h <= 0 || !(targetSize.width > 0) || !(targetSize.height > 0)) return nullptr;
    const bool fill = contentMode == UIViewContentMode::ScaleAspectFill;
    const double factor = std::min(1.0, fill ? std::max(targetSize.width / w, targetSize.height / h)
                                             : std::min(targetSize.width / w, targetSize.height / h));
    const auto scaledW = static_cast<std::uint32_t>(std::max(1.0, std::round(w * factor)));
    const auto scaledH = static_cast<std::uint32_t>(std::max(1.0, std::round(h * factor)));
    // Filling crops the middle of what overflows the target.
    const std::uint32_t outW =
        fill ? std::min(scaledW, static_cast<std::uint32_t>(std::ceil(targetSize.width))) : scaledW;
    const std::uint32_t outH =
        fill ? std::min(scaledH, static_cast<std::uint32_t>(std::ceil(targetSize.height))) : scaledH;
    const std::uint32_t offX = (scaledW - outW) / 2;
    const std::uint32_t offY = (scaledH - outH) / 2;
    std::vector<std::uint8_t> rgba(std::size_t{outW} * outH * 4);
    const auto& src = image.pixels();
    // The nearest source pixel to each output pixel's centre.
    for (std::uint32_t y = 0; y < outH; ++y) {
        const auto sy = std::min(image.height() - 1, static_cast<std::uint32_t>((y + offY + 0.5) / factor));
        for (std::uint32_t x = 0; x < outW; ++x) {
            const auto sx = std::min(image.width() - 1, static_cast<std::uint32_t>((x + offX + 0.5) / factor));
            const std::size_t from = (std::size_t{sy} * image.width() + sx) * 4;
            std::copy_n(src.begin() + static_cast<std::ptrdiff_t>(from), 4,
                        rgba.begin() + static_cast<std::ptrdiff_t>((std::size_t{y} * outW + x) * 4));
        }
    }
    return UIImage::fromPixels(image.name(), outW, outH, std::move(rgba));
}

std::shared_ptr<UIImage> PHImageManager::requestImage(const PHAsset& asset, CGSize targetSize,
                                                      UIViewContentMode contentMode) {
    if (asset.mediaType() != PHAsset::MediaType::Image) return nullptr;
    auto image = UIImage::contentsOfFile(asset.file().string());
    return image ? scaled(*image, targetSize, contentMode) : nullptr;
}

void PHImageManager::requestImageData(const std::shared_ptr<PHAsset>& asset,
                                      std::function<void(std::optional<core::Data>)> completion) {
    dispatch::GlobalQueue::shared().async([asset, completion = std::move(completion)] {
        completion(asset && asset->mediaType() == PHAsset::MediaType::Image ? readWhole(asset->file()) : std::nullopt);
    });
}

void PHImageManager::requestAVAsset(const std::shared_ptr<PHAsset>& asset,
                                    std::function<void(std::optional<foundation::URL>)> completion) {
    std::optional<foundation::URL> url;
    if (asset && asset->mediaType() == PHAsset::MediaType::Video) url = foundation::URL::fileURLWithPath(asset->file());
    dispatch::GlobalQueue::shared().async([url, completion = std::move(completion)] { completion(url); });
}

}  // namespace trc::ui
