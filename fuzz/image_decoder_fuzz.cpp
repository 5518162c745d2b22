// Feeds arbitrary bytes to the PNG and JPEG decoders the images of forms,
// photos and barcode pictures go through. Anything that is not a picture
// must end in nothing with an error text; a picture must have as many pixels
// as its size says.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ui/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::ui::ImageDecoder;
    for (auto decode : {&ImageDecoder::decodePNG, &ImageDecoder::decodeJPEG}) {
        std::string error;
        auto pixels = decode({data, size}, error);
        if (!pixels && error.empty()) std::abort();
        if (pixels && pixels->rgba.size() != std::size_t{pixels->width} * pixels->height * 4) std::abort();
    }
    return 0;
}
