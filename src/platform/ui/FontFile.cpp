#include "platform/ui/FontFile.h"

#include <fontconfig/fontconfig.h>

#include <fstream>

namespace trc::ui {

namespace {

bool readable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in.good() && in.peek() != std::ifstream::traits_type::eof();
}

std::optional<std::string> matched(const std::string& family) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return std::nullopt;
    std::optional<std::string> path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (pattern) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
                path = reinterpret_cast<const char*>(file);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return path;
}

}  // namespace

std::optional<std::string> FontFile::find(const std::string& family, const std::string& fallbackPath) {
    if (auto path = matched(family); path && readable(*path)) return path;
    if (readable(fallbackPath)) return fallbackPath;
    return std::nullopt;
}

const std::optional<std::string>& FontFile::sansSerif() {
    static const std::optional<std::string> path = find(kFamily, kFallbackPath);
    return path;
}

}  // namespace trc::ui
