#pragma once
// Writes small PNG and JPEG files for image tests, straight through libpng
// and libjpeg, so that what the library decodes was not made by the library.

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace trc::testing {

using Bytes = std::vector<std::uint8_t>;

// rgba holds 4 bytes a pixel (gray: 1 byte a pixel).
inline Bytes encodePNG(std::uint32_t width, std::uint32_t height, const Bytes& pixels, bool gray = false) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = gray ? PNG_FORMAT_GRAY : PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error(image.message);
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error(image.message);
    }
    out.resize(size);
    return out;
}

// components: 1 (gray), 3 (RGB) or 4 (CMYK, written as Adobe's inverted inks).
inline Bytes encodeJPEG(std::uint32_t width, std::uint32_t height, const Bytes& pixels, int components,
                        int quality = 100) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = std::size_t{width} * static_cast<std::size_t>(components);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row = const_cast<JSAMPROW>(pixels.data() + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// width x height pixels of one colour.
inline Bytes solid(std::uint32_t width, std::uint32_t height, std::initializer_list<std::uint8_t> pixel) {
    Bytes out;
    for (std::uint32_t i = 0; i < width * height; ++i) out.insert(out.end(), pixel);
    return out;
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace trc::testing
