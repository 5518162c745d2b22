#include "platform/ui/ImageEncoder.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace trc::ui {

namespace {

bool hasPixels(const UIImage& image) {
    return image.width() > 0 && image.height() > 0 &&
           image.pixels().size() == std::size_t{image.width()} * image.height() * 4;
}

// libjpeg's fatal errors must not return; they jump back to the encode,
// across C frames only (see writeJPEG).
struct JPEGErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JPEGErrorManager*>(cinfo->err)->jump, 1); }

void jpegOutputMessage(j_common_ptr) {}

// Only plain C data lives in this frame, so the jump skips no destructor.
// The caller frees *buffer (malloc'd by libjpeg) whether or not this succeeds.
bool writeJPEG(jpeg_compress_struct& cinfo, JPEGErrorManager& manager, const std::uint8_t* rgb, std::uint32_t width,
               std::uint32_t height, int quality, unsigned char** buffer, unsigned long* size) {
    if (setjmp(manager.jump)) return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = std::size_t{width} * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(rgb + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

std::optional<ImageEncoder::Bytes> ImageEncoder::pngData(const UIImage& image) {
    if (!hasPixels(image)) return std::nullopt;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = image.width();
    png.height = image.height();
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.pixels().data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    Bytes out(size);
    const bool ok = png_image_write_to_memory(&png, out.data(), &size, 0, image.pixels().data(), 0, nullptr) != 0;
    png_image_free(&png);
    if (!ok) return std::nullopt;
    out.resize(size);
    return out;
}

std::optional<ImageEncoder::Bytes> ImageEncoder::jpegData(const UIImage& image, double compressionQuality) {
    if (!hasPixels(image)) return std::nullopt;
    const double q = std::isfinite(compressionQuality) ? std::clamp(compressionQuality, 0.0, 1.0) : 1.0;
    const int quality = std::max(1, static_cast<int>(std::lround(q * 100)));
    const auto& rgba = image.pixels();
    Bytes rgb(std::size_t{image.width()} * image.height() * 3);
    for (std::size_t i = 0, j = 0; i + 3 < rgba.size(); i += 4, j += 3) {
        rgb[j] = rgba[i];
        rgb[j + 1] = rgba[i + 1];
        rgb[j + 2] = rgba[i + 2];
    }
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JPEGErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jpegErrorExit;
    manager.pub.output_message = jpegOutputMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = writeJPEG(cinfo, manager, rgb.data(), image.width(), image.height(), quality, &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    std::optional<Bytes> out;
    if (ok && buffer && size > 0) out = Bytes(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace trc::ui
