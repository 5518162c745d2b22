#include "platform/vessa/QRCodeImageReader.h"

#include <png.h>

// The library's text() gives UTF-8 only with this switch on.
#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace trc::vessa {

std::optional<std::string> QRCodeImageReader::read(const std::filesystem::path& file, std::string& why) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) {
        why = "cannot read " + file.string() + " as a PNG picture: the file cannot be read";
        return std::nullopt;
    }
    return read(bytes, file.string(), why);
}

std::optional<std::string> QRCodeImageReader::read(std::span<const std::uint8_t> png, const std::string& name,
                                                   std::string& why) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
        why = "cannot read " + name + " as a PNG picture: " + image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        why = "the picture " + name + " is too large or empty";
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_GRAY;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        why = "cannot decode " + name + ": " + image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    ZXing::ImageView view(pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height),
                          ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) {
        why = "no QR code found in " + name;
        return std::nullopt;
    }
    std::string text = result.text();
    if (text.size() > kMaxTextBytes) {
        why = "the QR code in " + name + " holds more text than a code can";
        return std::nullopt;
    }
    return text;
}

}  // namespace trc::vessa
