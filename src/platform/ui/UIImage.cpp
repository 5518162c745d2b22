#include "platform/ui/UIImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_map>

#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/ImageDecoder.h"

namespace trc::ui {

namespace {

constexpr const char* kLogger = "ui";
// No image file of ours comes near this; a bigger one is not read into memory.
constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

// "Name@2x.png" is drawn at two pixels a point.
double scaleOfFileName(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    const std::size_t n = stem.size();
    if (n >= 3 && stem[n - 3] == '@' && stem[n - 2] >= '1' && stem[n - 2] <= '9' && stem[n - 1] == 'x') {
        return static_cast<double>(stem[n - 2] - '0');
    }
    return 1.0;
}

std::uint8_t channel(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

// The system's symbols, one image per name and rendering mode.
struct SymbolHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
};
using SymbolModes = std::array<std::shared_ptr<UIImage>, 3>;
std::mutex symbolsLock;
std::unordered_map<std::string, SymbolModes, SymbolHash, std::equal_to<>>& symbols() {
    static std::unordered_map<std::string, SymbolModes, SymbolHash, std::equal_to<>> s;
    return s;
}

}  // namespace

std::shared_ptr<UIImage> UIImage::systemNamed(std::string_view name) {
    std::lock_guard lock(symbolsLock);
    auto it = symbols().find(name);
    if (it == symbols().end()) it = symbols().emplace(std::string(name), SymbolModes{}).first;
    auto& image = it->second[static_cast<std::size_t>(RenderingMode::Automatic)];
    if (!image) {
        image = std::make_shared<UIImage>(std::string(name));
        image->systemSymbol_ = true;
    }
    return image;
}

std::shared_ptr<UIImage> UIImage::fromPixels(std::string name, std::uint32_t width, std::uint32_t height,
                                             std::vector<std::uint8_t> rgba, double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return nullptr;
    if (rgba.size() != std::uint64_t{width} * height * 4) return nullptr;
    auto image = std::make_shared<UIImage>(std::move(name), CGSize{width / scale, height / scale});
    image->width_ = width;
    image->height_ = height;
    image->scale_ = scale;
    image->pixels_ = std::move(rgba);
    return image;
}

std::shared_ptr<UIImage> UIImage::contentsOfFile(const std::string& file) {
    const std::filesystem::path path(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) {
        core::SharedLoggerManager::log(kLogger, core::Severity::warn,
                                       "image file " + path.string() + " is too large to read");
        return nullptr;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        core::SharedLoggerManager::log(kLogger, core::Severity::warn,
                                       "image file " + path.string() + " cannot be read");
        return nullptr;
    }
    std::string error;
    std::optional<ImageDecoder::Pixels> decoded = ImageDecoder::decode(bytes, error);
    if (!decoded) {
        core::SharedLoggerManager::log(kLogger, core::Severity::warn, "no image in " + path.string() + ": " + error);
        return nullptr;
    }
    return fromPixels(path.string(), decoded->width, decoded->height, std::move(decoded->rgba), scaleOfFileName(path));
}

std::uint32_t UIImage::pixelAt(std::uint32_t x, std::uint32_t y) const {
    if (x >= width_ || y >= height_) return 0;
    const std::size_t at = (std::size_t{y} * width_ + x) * 4;
    return (std::uint32_t{pixels_[at]} << 24) | (std::uint32_t{pixels_[at + 1]} << 16) |
           (std::uint32_t{pixels_[at + 2]} << 8) | pixels_[at + 3];
}

std::shared_ptr<UIImage> UIImage::withRenderingMode(RenderingMode mode) const {
    if (systemSymbol_) {
        std::lock_guard lock(symbolsLock);
        auto& image = symbols()[name_][static_cast<std::size_t>(mode)];
        if (!image) {
            image = std::make_shared<UIImage>(*this);
            image->mode_ = mode;
        }
        return image;
    }
    auto copy = std::make_shared<UIImage>(*this);
    copy->mode_ = mode;
    return copy;
}

std::shared_ptr<UIImage> UIImage::withTintColor(const UIColor& color) const {
    auto copy = std::make_shared<UIImage>(*this);
    copy->systemSymbol_ = false;  // a painted copy is an image of its own
    const std::uint8_t r = channel(color.red), g = channel(color.green), b = channel(color.blue);
    const double alpha = std::clamp(color.alpha, 0.0, 1.0);
    auto& p = copy->pixels_;
    for (std::size_t i = 0; i + 3 < p.size(); i += 4) {
        p[i] = r;
        p[i + 1] = g;
        p[i + 2] = b;
        p[i + 3] = static_cast<std::uint8_t>(std::lround(p[i + 3] * alpha));
    }
    return copy;
}

}  // namespace trc::ui
