#include "platform/foundation/UTType.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

namespace trc::foundation {

namespace {

struct BuiltIn {
    const char* identifier;
    const char* mimeType;
    std::initializer_list<const char*> extensions;
};

// The types the form cells meet most; their identifiers are the ones hosts
// and other platforms use, so they win over the system table.
const std::initializer_list<BuiltIn>& builtIns() {
    static const std::initializer_list<BuiltIn> table = {
        {"public.png", "image/png", {"png"}},
        {"public.jpeg", "image/jpeg", {"jpeg", "jpg", "jpe"}},
        {"com.compuserve.gif", "image/gif", {"gif"}},
        {"public.heic", "image/heic", {"heic"}},
        {"public.tiff", "image/tiff", {"tiff", "tif"}},
        {"com.microsoft.bmp", "image/bmp", {"bmp"}},
        {"com.adobe.pdf", "application/pdf", {"pdf"}},
        {"public.plain-text", "text/plain", {"txt", "text"}},
        {"public.comma-separated-values-text", "text/csv", {"csv"}},
        {"public.html", "text/html", {"html", "htm"}},
        {"public.json", "application/json", {"json"}},
        {"public.xml", "application/xml", {"xml"}},
        {"public.zip-archive", "application/zip", {"zip"}},
        {"com.apple.quicktime-movie", "video/quicktime", {"mov", "qt"}},
        {"public.mpeg-4", "video/mp4", {"mp4"}},
        {"public.mp3", "audio/mpeg", {"mp3"}},
    };
    return table;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

struct Tables {
    std::map<std::string, std::string, std::less<>> identifierOfExtension;
    std::map<std::string, std::string, std::less<>> mimeOfIdentifier;
};

Tables load() {
    Tables t;
    for (const auto& entry : builtIns()) {
        t.mimeOfIdentifier.emplace(entry.identifier, entry.mimeType);
        for (const char* ext : entry.extensions) t.identifierOfExtension.emplace(ext, entry.identifier);
    }
    std::ifstream in(UTType::kSystemMimeTable);
    std::string line;
    while (std::getline(in, line)) {
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string mime;
        if (!(words >> mime) || mime.find('/') == std::string::npos) continue;
        const std::string identifier = UTType::kMimeIdentifierPrefix + lower(mime);
        std::string ext;
        bool used = false;
        while (words >> ext) {
            // The first type named for an extension is its preferred one.
            used |= t.identifierOfExtension.emplace(lower(ext), identifier).second;
        }
        if (used) t.mimeOfIdentifier.emplace(identifier, lower(mime));
    }
    return t;
}

const Tables& tables() {
    static const Tables t = load();
    return t;
}

}  // namespace

std::optional<std::string> UTType::preferredIdentifier(std::string_view filenameExtension) {
    if (filenameExtension.empty()) return std::nullopt;
    const auto& map = tables().identifierOfExtension;
    auto it = map.find(lower(filenameExtension));
    if (it == map.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> UTType::preferredMIMEType(std::string_view identifier) {
    const auto& map = tables().mimeOfIdentifier;
    auto it = map.find(identifier);
    if (it == map.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> UTType::mimeTypeOfExtension(std::string_view filenameExtension) {
    auto identifier = preferredIdentifier(filenameExtension);
    return identifier ? preferredMIMEType(*identifier) : std::nullopt;
}

bool UTType::conforms(std::string_view identifier, std::string_view to) {
    return to == kData || (!identifier.empty() && identifier == to);
}

}  // namespace trc::foundation
