#pragma once
// Turns the bytes of a PNG or JPEG file into 8-bit RGBA pixels, for UIImage.
//
// The kind is told by the file's signature, never by its name. Decoding is
// all or nothing: a file that is cut short, damaged, of another kind or
// larger than kMaxPixels gives no pixels and a reason, never a partial or
// grey-filled picture, and nothing is printed. PNG goes through libpng's
// simplified reader (colour types, bit depths and transparency all come out
// as RGBA); JPEG through libjpeg, whose fatal errors end the decode through
// its error manager and whose warnings of lost image data count as failure.
// Stateless; any thread.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trc::ui {

class ImageDecoder {
public:
    enum class Format { Unknown, PNG, JPEG };

    struct Pixels {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::vector<std::uint8_t> rgba;  // 4 bytes a pixel, row by row, not premultiplied
    };

    // Bigger images are refused rather than risking memory on a hostile header.
    static constexpr std::uint64_t kMaxPixels = 40'000'000;

    static Format formatOf(std::span<const std::uint8_t> bytes);
    // The pixels, or none with the reason in error.
    static std::optional<Pixels> decode(std::span<const std::uint8_t> bytes, std::string& error);
    static std::optional<Pixels> decodePNG(std::span<const std::uint8_t> bytes, std::string& error);
    static std::optional<Pixels> decodeJPEG(std::span<const std::uint8_t> bytes, std::string& error);
};

}  // namespace trc::ui
