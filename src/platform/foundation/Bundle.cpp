#include "platform/foundation/Bundle.h"

#include <unicode/locid.h>

#include <algorithm>
#include <cstdlib>

#include "platform/core/Json.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/StringsFile.h"

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
constexpr const char* kLogger = "Bundle";
constexpr const char* kLprojSuffix = ".lproj";
// Tried after every preferred language: the development language, then the
// language-neutral folder.
const std::vector<std::string> kFallbackLocalizations = {"en", "Base"};

// Where the library's bundle may be: the folder the environment names, else
// kFrameworkFolderInPrefix beside the program and one folder above it.
std::vector<fs::path> frameworkCandidatesNear(const fs::path& program) {
    if (program.empty()) return {};
    const fs::path folder = program.parent_path();
    return {folder / Bundle::kFrameworkFolderInPrefix, folder.parent_path() / Bundle::kFrameworkFolderInPrefix};
}

std::vector<fs::path> frameworkCandidates() {
    if (const char* named = std::getenv(Bundle::kFrameworkFolderVariable); named && *named) return {fs::path(named)};
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return frameworkCandidatesNear(ec ? fs::path() : program);
}

struct Globals {
    std::shared_ptr<Bundle> main = std::make_shared<Bundle>(fs::path());
    std::shared_ptr<Bundle> framework = std::make_shared<Bundle>(Bundle::locateFrameworkFolder());
    // Where the framework bundle was looked for, and whether its having no
    // strings tables was said.
    std::vector<fs::path> frameworkLookedIn = frameworkCandidates();
    bool frameworkChecked = false;
    std::vector<std::string> languages;
    // Moves on at every process state reset and change of the preferred
    // languages; a bundle whose lookups are of another generation reads afresh.
    std::uint64_t lookupGeneration = 1;
};
Globals& globals() {
    static Globals g;
    return g;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("foundation.Bundle.lookups", [] { ++globals().lookupGeneration; });
    return true;
}();

// A relative path that stays inside the bundle: no root, no "..".
bool isSafeRelative(const fs::path& p) {
    if (p.is_absolute() || p.has_root_name()) return false;
    return std::none_of(p.begin(), p.end(), [](const fs::path& part) { return part == ".."; });
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string withDot(std::string_view ext) {
    if (ext.empty() || ext.front() == '.') return std::string(ext);
    return "." + std::string(ext);
}

// "de_CH.UTF-8@euro" -> "de-CH"; "C" and "POSIX" name no language.
std::optional<std::string> languageOfLocaleName(std::string name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return std::nullopt;
    std::replace(name.begin(), name.end(), '_', '-');
    return name;
}

// Folder names a language ("de-CH", or a locale name such as "de_CH.UTF-8")
// may have, most specific first.
std::vector<std::string> spellingsOf(const std::string& language) {
    std::vector<std::string> out{language};
    std::optional<std::string> normalized = languageOfLocaleName(language);
    if (!normalized) return out;
    const std::string& tag = *normalized;
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
    if (U_FAILURE(status) || locale.isBogus()) return out;
    std::string lang = locale.getLanguage();
    std::string script = locale.getScript();
    std::string country = locale.getCountry();
    if (lang.empty()) return out;
    if (!script.empty() && !country.empty()) out.push_back(lang + "-" + script + "-" + country);
    if (!script.empty()) out.push_back(lang + "-" + script);
    if (!country.empty()) {
        out.push_back(lang + "-" + country);
        out.push_back(lang + "_" + country);
    }
    out.push_back(lang);
    return out;
}
}  // namespace

Bundle::Bundle(fs::path folder) : folder_(std::move(folder)) {}

std::shared_ptr<Bundle> Bundle::main() { return globals().main; }
void Bundle::setMain(const fs::path& folder) { globals().main = std::make_shared<Bundle>(folder); }
std::shared_ptr<Bundle> Bundle::framework() {
    Globals& g = globals();
    if (!g.frameworkChecked) {
        g.frameworkChecked = true;
        if (g.framework->localizations().empty()) {
            std::string folders;
            for (const fs::path& folder : g.frameworkLookedIn) {
                folders += (folders.empty() ? "" : ", ") + folder.string();
            }
            core::SharedLoggerManager::log(
                kLogger, core::Severity::warn,
                "the library's strings tables were not found in " +
                    (folders.empty() ? std::string("any folder (the program's is unknown)") : folders) +
                    "; its texts fall back to English. Install them in " + kFrameworkFolderInPrefix +
                    " beside the program or one folder above it, or name their folder in " + kFrameworkFolderVariable);
        }
    }
    return g.framework;
}

void Bundle::setFrameworkFolder(const fs::path& folder) {
    Globals& g = globals();
    g.framework = std::make_shared<Bundle>(folder);
    g.frameworkLookedIn = {folder};
    g.frameworkChecked = false;
}

fs::path Bundle::frameworkFolderNear(const fs::path& program) {
    for (const fs::path& candidate : frameworkCandidatesNear(program)) {
        std::error_code ec;
        if (fs::is_directory(candidate, ec)) return candidate;
    }
    return {};
}

fs::path Bundle::locateFrameworkFolder() {
    for (const fs::path& candidate : frameworkCandidates()) {
        std::error_code ec;
        if (fs::is_directory(candidate, ec)) return candidate;
    }
    return {};
}

void Bundle::setPreferredLanguages(std::vector<std::string> languages) {
    globals().languages = std::move(languages);
    ++globals().lookupGeneration;
}

std::vector<std::string> Bundle::preferredLanguages() {
    if (!globals().languages.empty()) return globals().languages;
    std::vector<std::string> out;
    if (const char* list = std::getenv("LANGUAGE"); list && *list) {
        std::string_view rest(list);
        while (!rest.empty()) {
            auto colon = rest.find(':');
            if (auto l = languageOfLocaleName(std::string(rest.substr(0, colon)))) out.push_back(*l);
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* v = std::getenv(var); v && *v) {
            if (auto l = languageOfLocaleName(v)) out.push_back(*l);
            break;
        }
    }
    return out;
}

std::vector<std::string> Bundle::localizations() const {
    std::vector<std::string> out;
    std::error_code ec;
    if (folder_.empty() || !fs::is_directory(folder_, ec)) return out;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        std::string name = entry.path().filename().string();
        if (entry.is_directory(ec) && name.size() > 6 && name.ends_with(kLprojSuffix)) {
            out.push_back(name.substr(0, name.size() - 6));
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Bundle::lprojCandidates(const std::vector<std::string>& languages,
                                                 const std::vector<std::string>& available) const {
    std::vector<std::string> out;
    auto add = [&](const std::string& name) {
        if (std::find(available.begin(), available.end(), name) != available.end() &&
            std::find(out.begin(), out.end(), name) == out.end()) {
            out.push_back(name);
        }
    };
    for (const std::string& language : languages.empty() ? preferredLanguages() : languages) {
        for (const std::string& spelling : spellingsOf(language)) add(spelling);
    }
    for (const std::string& fallback : kFallbackLocalizations) add(fallback);
    return out;
}

std::optional<fs::path> Bundle::pathForResource(std::string_view name, std::string_view ext,
                                                std::string_view subdirectory) const {
    if (folder_.empty() || name.empty()) return std::nullopt;
    const fs::path file = fs::path(subdirectory) / (std::string(name) + withDot(ext));
    if (!isSafeRelative(file)) return std::nullopt;
    if (isFile(folder_ / file)) return folder_ / file;
    for (const std::string& lproj : lprojCandidates({}, localizations())) {
        fs::path candidate = folder_ / (lproj + kLprojSuffix) / file;
        if (isFile(candidate)) return candidate;
    }
    return std::nullopt;
}

std::vector<fs::path> Bundle::pathsForResources(std::string_view ext, std::string_view subdirectory) const {
    std::vector<fs::path> out;
    if (folder_.empty() || !isSafeRelative(fs::path(subdirectory))) return out;
    const std::string suffix = withDot(ext);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_ / subdirectory, ec)) {
        if (entry.is_regular_file(ec) && (suffix.empty() || entry.path().extension() == suffix)) {
            out.push_back(entry.path());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

const core::Dictionary& Bundle::infoDictionary() const {
    if (info_) return *info_;
    info_.emplace();
    if (folder_.empty()) return *info_;
    const fs::path path = folder_ / kInfoFileName;
    if (!isFile(path)) return *info_;
    try {
        core::Value v = core::Json::parse(AtomicFile::read(path), core::Json::NullAs::Nil);
        if (const core::Dictionary* d = v.ifDictionary()) {
            *info_ = *d;
        } else {
            core::SharedLoggerManager::log(kLogger, core::Severity::error,
                                           path.string() + " does not hold a JSON dictionary");
        }
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(kLogger, core::Severity::error, path.string() + ": " + e.what());
    }
    return *info_;
}

Bundle::Lookups& Bundle::lookups() const {
    const std::uint64_t generation = globals().lookupGeneration;
    if (lookups_.generation != generation) {
        lookups_ = Lookups{};
        lookups_.generation = generation;
        lookups_.localizations = localizations();
        lookups_.processCandidates = lprojCandidates({}, lookups_.localizations);
    }
    return lookups_;
}

const Bundle::Table& Bundle::table(Lookups& cached, std::string_view lproj, std::string_view name) const {
    auto& byLproj = cached.tables;
    auto folder = byLproj.find(lproj);
    if (folder == byLproj.end()) folder = byLproj.emplace(std::string(lproj), decltype(folder->second){}).first;
    if (auto it = folder->second.find(name); it != folder->second.end()) return it->second;
    Table& t = folder->second[std::string(name)];
    const fs::path path = folder_ / (std::string(lproj) + kLprojSuffix) / (std::string(name) + ".strings");
    if (!isSafeRelative(fs::path(name)) || !isFile(path)) return t;
    StringsFile::Result r = StringsFile::load(path);
    if (!r.ok()) core::SharedLoggerManager::log(kLogger, core::Severity::error, "strings table " + r.error);
    t = std::move(r.entries);
    return t;
}

std::string Bundle::localizedString(std::string_view key, std::string_view tableName, std::string_view defaultValue,
                                    const std::vector<std::string>& preferred) const {
    const std::string_view name = tableName.empty() ? std::string_view(kDefaultTable) : tableName;
    if (!folder_.empty()) {
        Lookups& cached = lookups();
        const std::vector<std::string> asked =
            preferred.empty() ? std::vector<std::string>() : lprojCandidates(preferred, cached.localizations);
        for (const std::string& lproj : preferred.empty() ? cached.processCandidates : asked) {
            const Table& t = table(cached, lproj, name);
            if (auto it = t.find(key); it != t.end()) return it->second;
        }
    }
    return std::string(defaultValue.empty() ? key : defaultValue);
}

}  // namespace trc::foundation
