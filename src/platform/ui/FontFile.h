#pragma once
// Finds a font file to draw text with: the system's sans-serif face as
// fontconfig matches it, else the DejaVu Sans file a Debian machine keeps at
// a fixed path (package fonts-dejavu-core). A machine without either has no
// font: the answer is none, and callers draw without text.
//
// The lookup runs once per process and is kept; main thread only.

#include <optional>
#include <string>

namespace trc::ui {

class FontFile {
public:
    // The family asked of fontconfig, and the file tried when it finds none.
    static constexpr const char* kFamily = "sans-serif";
    static constexpr const char* kFallbackPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

    // The path of a readable font file, when the machine has one.
    static const std::optional<std::string>& sansSerif();
    // Looks the font up anew, taking fallbackPath as the file to try after
    // fontconfig (tests give a path that does not exist); the result is not kept.
    static std::optional<std::string> find(const std::string& family, const std::string& fallbackPath);
};

}  // namespace trc::ui
