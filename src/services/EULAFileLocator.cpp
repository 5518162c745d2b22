#include "services/EULAFileLocator.h"

#include <algorithm>
#include <system_error>

#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/HTMLText.h"

namespace trc::services {

namespace {

constexpr const char* kExtensions[] = {"html", "txt"};

// "de_CH.UTF-8" or "de-CH" -> "de-CH", "de_CH", "de": the suffixes an
// agreement for that language may carry, most specific first.
std::vector<std::string> suffixesOf(std::string language) {
    language = language.substr(0, language.find_first_of(".@"));
    std::replace(language.begin(), language.end(), '_', '-');
    std::vector<std::string> out;
    if (language.empty() || language == "C" || language == "POSIX") return out;
    out.push_back(language);
    if (auto dash = language.find('-'); dash != std::string::npos) {
        std::string underscored = language;
        std::replace(underscored.begin(), underscored.end(), '-', '_');
        out.push_back(underscored);
        out.push_back(language.substr(0, dash));
    }
    return out;
}

}  // namespace

std::vector<std::string> EULAFileLocator::candidateNames(const std::vector<std::string>& languages) {
    std::vector<std::string> suffixes;
    std::vector<std::string> wanted = languages.empty() ? foundation::Bundle::preferredLanguages() : languages;
    wanted.emplace_back(kFallbackLanguage);
    for (const std::string& language : wanted)
        for (std::string& suffix : suffixesOf(language))
            if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end())
                suffixes.push_back(std::move(suffix));
    std::vector<std::string> names;
    for (const std::string& suffix : suffixes)
        for (const char* extension : kExtensions)
            names.push_back(std::string(kBaseName) + kLanguageSeparator + suffix + "." + extension);
    return names;
}

std::optional<EULAFileLocator::File> EULAFileLocator::find(const foundation::Bundle& bundle,
                                                           const std::vector<std::string>& languages) {
    for (const std::string& name : candidateNames(languages)) {
        if (auto path = bundle.pathForResource(name, "")) {
            return File{*path, std::filesystem::path(name).extension() == ".html"};
        }
    }
    return std::nullopt;
}

std::optional<std::string> EULAFileLocator::read(const File& file) {
    std::error_code error;
    std::optional<std::string> text = foundation::AtomicFile::read(file.path, error);
    // Marked-up text is shown as the words it marks up, never as its tags.
    if (!error && text && file.isHTML) text = foundation::HTMLText::plainText(*text);
    if (error || !text || text->empty()) {
        // An agreement is shown whole or not at all.
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "the EULA file " + file.path.filename().string() + " cannot be read whole" +
                                           (error ? ": " + error.message() : std::string()));
        return std::nullopt;
    }
    return text;
}

}  // namespace trc::services
