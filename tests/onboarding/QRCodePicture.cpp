#include "onboarding/QRCodePicture.h"

#include <png.h>
#include <qrencode.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace trc::onboarding::test {

namespace {

void writeGrey(const std::vector<std::uint8_t>& pixels, int width, int height, const std::filesystem::path& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_GRAY;
    if (!png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr))
        throw std::runtime_error(std::string("cannot write ") + file.string() + ": " + image.message);
}

}  // namespace

void QRCodePicture::write(const std::string& text, const std::filesystem::path& file, int scale) {
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(QRcode_encodeString8bit(text.c_str(), 0, QR_ECLEVEL_M),
                                                         QRcode_free);
    if (!code) throw std::runtime_error("cannot encode the QR code");
    const int quiet = 4;
    const int side = (code->width + 2 * quiet) * scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side * side), 255);
    for (int y = 0; y < code->width; ++y)
        for (int x = 0; x < code->width; ++x)
            if (code->data[y * code->width + x] & 1)
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        pixels[static_cast<std::size_t>(((y + quiet) * scale + dy) * side + (x + quiet) * scale + dx)] =
                            0;
    writeGrey(pixels, side, side, file);
}

void QRCodePicture::writeBlank(const std::filesystem::path& file, int side) {
    writeGrey(std::vector<std::uint8_t>(static_cast<std::size_t>(side * side), 255), side, side, file);
}

}  // namespace trc::onboarding::test
