// Feeds arbitrary bytes to the QR picture reader as a scanned PNG picture.
// Anything without a readable code must end in nothing with a reason; a text
// that was read stays within what a code can hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/vessa/QRCodeImageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::vessa::QRCodeImageReader;
    std::string why;
    auto text = QRCodeImageReader::read({data, size}, "fuzz.png", why);
    if (!text && why.empty()) std::abort();
    if (text && text->size() > QRCodeImageReader::kMaxTextBytes) std::abort();
    return 0;
}
