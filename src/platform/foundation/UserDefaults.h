#pragma once
// The application's user defaults: string-keyed host values that outlive the
// process.
//
// Kept as one JSON file under Sandbox::preferences() in the tagged style of
// core::Json (dates, data and the null object survive), rewritten atomically
// (temporary file, flush, rename) on every change, so a crash never leaves a
// half-written file. The file is read on first use and again after a
// ProcessState reset or a change of sandbox root: a relaunch sees exactly what
// was persisted. Reading it removes the temporary files of writes a kill
// interrupted. The file is the owner's alone (0600). Objects cannot be
// persisted, nor dates outside the years 0000 to 9999; setting one is refused
// and logged.
//
// A file that was read but is not valid (not tagged JSON, not a dictionary)
// is moved aside (".corrupt") and logged, and the defaults start empty. A file
// that cannot be read now (open or read fails: no descriptor left, an I/O
// error) is kept as it is: reads give nothing, every change is refused and
// logged, and the next call tries again, so a passing fault never loses what
// was stored. A change that cannot be written is undone in memory too.
//
// One shared instance for the process. Calls are serialised by a mutex, but
// the library uses it from the main thread.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/core/Value.h"

namespace trc::foundation {

class UserDefaults {
public:
    static constexpr const char* kFileName = "UserDefaults.json";

    static UserDefaults& shared();

    // The stored value, or nil when the key is absent.
    core::Value objectForKey(std::string_view key);
    // Stores value under key and persists; nil removes the key. Returns false
    // (and changes nothing) when value holds an object or a date out of range
    // anywhere inside, when
    // the file cannot be read now or when the change cannot be written.
    bool setObject(const std::string& key, const core::Value& value);
    // The same for removing; true when the key is not there (any more).
    bool remove(std::string_view key);
    // Why the file could not be read at the last try; empty once it was read
    // (or when there is none).
    std::error_code readError();

    // Typed reads: what is stored when it has that kind. A bool is never read
    // from a number; integerForKey takes a double's integer part.
    bool boolForKey(std::string_view key);
    std::optional<std::string> stringForKey(std::string_view key);
    std::optional<core::Dictionary> dictionaryForKey(std::string_view key);
    std::int64_t integerForKey(std::string_view key);

    core::Dictionary dictionaryRepresentation();
    // Forgets what is in memory; the next call reads the file again.
    void reload();
    std::filesystem::path filePath() const;

private:
    UserDefaults();
    void loadIfNeeded();
    bool persist();
    // Sets value under key (nullptr removes it) and persists, or changes
    // nothing, in memory or on disk.
    bool change(std::string_view key, const core::Value* value);
    // True (and logged) while the file cannot be read.
    bool refusedWhileUnreadable(std::string_view key);

    std::mutex mutex_;
    core::Dictionary values_;
    std::filesystem::path loadedFrom_;
    bool loaded_ = false;
    std::error_code readError_;
};

}  // namespace trc::foundation
