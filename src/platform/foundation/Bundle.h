#pragma once
// A bundle: a folder of resources with an information dictionary and
// localized strings tables.
//
// `main()` is the application's bundle; the host simulator points it at a
// scenario's bundle folder (setMain), and without one it is an empty bundle
// that finds nothing. `framework()` is the library's own bundle (its strings
// tables carry the library's texts). It travels with the library: installed,
// it is <prefix>/share/trc/framework, found from the running program in
// <prefix>/bin (or in <prefix> itself); a build tree holds the same folder
// under its build folder. An application that places it elsewhere names it
// in the environment variable TRC_FRAMEWORK_BUNDLE or calls
// setFrameworkFolder. Without its strings tables the library's texts fall
// back to their English defaults, and the first use of framework() logs one
// "warn" line naming the folders it looked in. `Info.plist` holds JSON. Strings tables are
// `<language>.lproj/<Table>.strings` files (see StringsFile). For looking
// texts up, a bundle reads its list of localizations and each table once and
// keeps them until the process state resets (core::ProcessState), so a
// lookup for the process's languages costs no file system call and no
// allocation beyond the returned text. A table that is missing or malformed
// is never an error for the caller: the lookup falls back to the default
// text, and a malformed table is logged once.
//
// Languages: the process's preferred languages come from the environment
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) unless set with
// setPreferredLanguages (the host simulator fixes English so scenarios do not
// depend on the machine); the environment is read again after a process
// state reset. A preferred "de-CH" tries de-CH, de_CH, then de.
//
// Main thread; bundles are shared as std::shared_ptr and never change their
// folder.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Value.h"

namespace trc::foundation {

class Bundle {
public:
    static constexpr const char* kInfoFileName = "Info.plist";
    static constexpr const char* kDefaultTable = "Localizable";
    // Where the library's bundle lies under an installation prefix.
    static constexpr const char* kFrameworkFolderInPrefix = "share/trc/framework";
    static constexpr const char* kFrameworkFolderVariable = "TRC_FRAMEWORK_BUNDLE";

    // An empty path makes an empty bundle.
    explicit Bundle(std::filesystem::path folder);

    static std::shared_ptr<Bundle> main();
    static void setMain(const std::filesystem::path& folder);
    static std::shared_ptr<Bundle> framework();
    static void setFrameworkFolder(const std::filesystem::path& folder);
    // The folder framework() starts with: kFrameworkFolderVariable's when set
    // and not empty and a folder, else the one near the running program;
    // empty if none.
    static std::filesystem::path locateFrameworkFolder();
    // kFrameworkFolderInPrefix in program's folder or the folder above it,
    // whichever is a folder first; empty when neither is.
    static std::filesystem::path frameworkFolderNear(const std::filesystem::path& program);

    static std::vector<std::string> preferredLanguages();
    // An empty list returns to the environment's languages.
    static void setPreferredLanguages(std::vector<std::string> languages);

    const std::filesystem::path& bundlePath() const { return folder_; }

    // The file name.ext (ext with or without its dot; empty when name is the
    // whole file name) in subdirectory, else in the lproj folder of the best
    // preferred language; nullopt when there is none.
    std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view ext,
                                                         std::string_view subdirectory = {}) const;
    // Every file with extension ext in subdirectory, sorted by name.
    std::vector<std::filesystem::path> pathsForResources(std::string_view ext,
                                                         std::string_view subdirectory = {}) const;
    // The names of the bundle's lproj folders, without ".lproj", sorted.
    std::vector<std::string> localizations() const;

    // Info.plist as a dictionary; empty when missing or malformed (logged).
    const core::Dictionary& infoDictionary() const;

    // The text for key from the table (kDefaultTable when empty) of the best
    // of preferredLanguages (the process's when empty) that has it; else
    // defaultValue, or key itself when defaultValue is empty.
    std::string localizedString(std::string_view key, std::string_view table, std::string_view defaultValue,
                                const std::vector<std::string>& preferredLanguages = {}) const;

private:
    using Table = std::map<std::string, std::string, std::less<>>;
    // What lookups keep between process state resets.
    struct Lookups {
        std::uint64_t generation = 0;
        std::vector<std::string> localizations;
        // The lproj folders to try for the process's preferred languages.
        std::vector<std::string> processCandidates;
        // Tables by lproj folder, then by name.
        std::map<std::string, std::map<std::string, Table, std::less<>>, std::less<>> tables;
    };

    std::vector<std::string> lprojCandidates(const std::vector<std::string>& languages,
                                             const std::vector<std::string>& available) const;
    Lookups& lookups() const;
    const Table& table(Lookups& cached, std::string_view lproj, std::string_view name) const;

    std::filesystem::path folder_;
    mutable std::optional<core::Dictionary> info_;
    mutable Lookups lookups_;
};

}  // namespace trc::foundation
