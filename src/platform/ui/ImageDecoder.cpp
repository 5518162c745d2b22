#include "platform/ui/ImageDecoder.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace trc::ui {

namespace {

constexpr std::array<std::uint8_t, 8> kPNGSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<std::uint8_t, 3> kJPEGSignature = {0xFF, 0xD8, 0xFF};

bool startsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

bool tooLarge(std::uint64_t width, std::uint64_t height) {
    return width == 0 || height == 0 || width * height > ImageDecoder::kMaxPixels;
}

// --- JPEG -----------------------------------------------------------------

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the decode. Everything the jump crosses is C, and the
// decode declares its C++ objects before the jump point, so no destructor is
// skipped.
struct JPEGErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool dataLost = false;
    char message[JMSG_LENGTH_MAX] = {};
};

void jpegErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JPEGErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings after which libjpeg carries on with made-up (grey) image data.
bool losesImageData(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL: return true;
    default: return false;
    }
}

void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace output
    auto* manager = reinterpret_cast<JPEGErrorManager*>(cinfo->err);
    if (!manager->dataLost && losesImageData(cinfo->err->msg_code)) {
        manager->dataLost = true;
        (*cinfo->err->format_message)(cinfo, manager->message);
    }
}

void jpegOutputMessage(j_common_ptr) {}

// Adobe's CMYK JPEGs store the inks inverted; others store them plain.
void cmykToRGBA(std::vector<std::uint8_t>& pixels, bool inverted) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        unsigned c = pixels[i], m = pixels[i + 1], y = pixels[i + 2], k = pixels[i + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        pixels[i] = static_cast<std::uint8_t>(c * k / 255);
        pixels[i + 1] = static_cast<std::uint8_t>(m * k / 255);
        pixels[i + 2] = static_cast<std::uint8_t>(y * k / 255);
        pixels[i + 3] = 255;
    }
}

// Returns false with manager.message set. Only plain C data lives in this
// frame, so the jump back from jpegErrorExit skips nothing.
bool readJPEG(jpeg_decompress_struct& cinfo, JPEGErrorManager& manager, std::span<const std::uint8_t> bytes,
              ImageDecoder::Pixels& out) {
    if (setjmp(manager.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (tooLarge(cinfo.image_width, cinfo.image_height)) {
        std::snprintf(manager.message, sizeof manager.message, "image of %ux%u pixels is too large", cinfo.image_width,
                      cinfo.image_height);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 4) {
        std::snprintf(manager.message, sizeof manager.message, "unexpected %d colour components",
                      cinfo.output_components);
        return false;
    }
    out.width = cinfo.output_width;
    out.height = cinfo.output_height;
    const std::size_t stride = std::size_t{out.width} * 4;
    out.rgba.resize(stride * out.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.rgba.data() + stride * cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    }
    if (cinfo.output_scanline < cinfo.output_height && !manager.dataLost) {
        std::snprintf(manager.message, sizeof manager.message, "image data ends early");
        return false;
    }
    jpeg_finish_decompress(&cinfo);
    if (manager.dataLost) return false;
    if (cmyk) cmykToRGBA(out.rgba, cinfo.saw_Adobe_marker);
    return true;
}

}  // namespace

ImageDecoder::Format ImageDecoder::formatOf(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, kPNGSignature)) return Format::PNG;
    if (startsWith(bytes, kJPEGSignature)) return Format::JPEG;
    return Format::Unknown;
}

std::optional<ImageDecoder::Pixels> ImageDecoder::decode(std::span<const std::uint8_t> bytes, std::string& error) {
    switch (formatOf(bytes)) {
    case Format::PNG: return decodePNG(bytes, error);
    case Format::JPEG: return decodeJPEG(bytes, error);
    case Format::Unknown: break;
    }
    error = "neither a PNG nor a JPEG image";
    return std::nullopt;
}

std::optional<ImageDecoder::Pixels> ImageDecoder::decodePNG(std::span<const std::uint8_t> bytes, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        error = image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    if (tooLarge(image.width, image.height)) {
        error = "image of " + std::to_string(image.width) + "x" + std::to_string(image.height) + " pixels is too large";
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    Pixels out;
    out.width = image.width;
    out.height = image.height;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
    if (!ok) error = image.message;
    png_image_free(&image);
    if (!ok) return std::nullopt;
    return out;
}

std::optional<ImageDecoder::Pixels> ImageDecoder::decodeJPEG(std::span<const std::uint8_t> bytes, std::string& error) {
    if (!startsWith(bytes, kJPEGSignature)) {
        error = "not a JPEG image";
        return std::nullopt;
    }
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JPEGErrorManager manager;
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jpegErrorExit;
    manager.pub.emit_message = jpegEmitMessage;
    manager.pub.output_message = jpegOutputMessage;
    Pixels out;
    const bool ok = readJPEG(cinfo, manager, bytes, out);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        error = manager.message[0] ? manager.message : "unreadable JPEG image";
        return std::nullopt;
    }
    return out;
}

}  // namespace trc::ui
