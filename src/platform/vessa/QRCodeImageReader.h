#pragma once
// Reads the text of a QR code from a PNG picture (ZXing over a grey image
// read with libpng), as a camera pointed at the code would. The first code
// found wins. Texts longer than kMaxTextBytes are refused: no real code
// holds that much. Stateless; any thread.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace trc::vessa {

class QRCodeImageReader {
public:
    static constexpr std::size_t kMaxTextBytes = 4096;
    // The picture's size is limited so a hostile file cannot take all memory.
    static constexpr unsigned kMaxSide = 8192;

    // The code's text, or nothing with why saying what went wrong (no such
    // file, not a PNG, no code in it).
    static std::optional<std::string> read(const std::filesystem::path& file, std::string& why);
    // The same for the bytes of a PNG picture; name stands for it in why.
    static std::optional<std::string> read(std::span<const std::uint8_t> png, const std::string& name,
                                           std::string& why);
};

}  // namespace trc::vessa
