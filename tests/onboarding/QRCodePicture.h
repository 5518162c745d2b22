#pragma once
// Makes PNG pictures of QR codes for the scanner tests (libqrencode for the
// code, libpng for the file): black modules on white, a quiet zone of four
// modules, each module `scale` pixels wide.

#include <filesystem>
#include <string>

namespace trc::onboarding::test {

class QRCodePicture {
public:
    // Writes the code of text to file; throws std::runtime_error on failure.
    static void write(const std::string& text, const std::filesystem::path& file, int scale = 4);
    // A white picture without any code.
    static void writeBlank(const std::filesystem::path& file, int side = 64);
};

}  // namespace trc::onboarding::test
