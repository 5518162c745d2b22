#pragma once
// Turns an image's pixels into the bytes of a PNG or JPEG file, as an
// image's PNG and JPEG representations: PNG losslessly through libpng's
// simplified writer, JPEG through libjpeg at a compression quality between 0
// (smallest) and 1 (best), alpha dropped.
//
// An image without pixels (a named symbol, or zero width or height) has no
// representation: the result is none, never an empty file. Output is stable
// for the same pixels and library version, but not byte-equal to another
// platform's encoder. Stateless; any thread.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ui/UIImage.h"

namespace trc::ui {

class ImageEncoder {
public:
    using Bytes = std::vector<std::uint8_t>;

    static std::optional<Bytes> pngData(const UIImage& image);
    static std::optional<Bytes> jpegData(const UIImage& image, double compressionQuality);
};

}  // namespace trc::ui
