#pragma once
// Finds the application's end-user licence agreement in a bundle and reads
// it. The agreement is a file "EULAText_<language>" with extension "html"
// or "txt" (in the bundle's folder or a language folder of it); for each
// preferred language, most specific spelling first ("de-CH", "de_CH",
// "de"), the html file wins over the txt file; English comes last, as for
// every other text of a bundle, so a machine without a language setting
// still finds the English agreement.
//
// Made for the application configuration's EULA lookup, which keeps what
// it found. Stateless; main thread (bundles are read there).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"

namespace trc::services {

class EULAFileLocator {
public:
    static constexpr const char* kBaseName = "EULAText";
    static constexpr const char* kLanguageSeparator = "_";
    static constexpr const char* kFallbackLanguage = "en";

    struct File {
        std::filesystem::path path;
        // Marked-up text: the reader renders it rather than show the tags.
        bool isHTML = false;
    };

    // The agreement for the languages (the process's preferred languages
    // when empty); nothing when the bundle has none.
    static std::optional<File> find(const foundation::Bundle& bundle, const std::vector<std::string>& languages = {});
    // The file's text, an HTML file's as the words a person reads
    // (foundation::HTMLText); nothing when it cannot be read or holds no
    // text (logged).
    static std::optional<std::string> read(const File& file);

    // File names tried, in order, for the languages.
    static std::vector<std::string> candidateNames(const std::vector<std::string>& languages);
};

}  // namespace trc::services
