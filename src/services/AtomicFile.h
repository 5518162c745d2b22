#pragma once
// Whole-file reads and crash-safe writes for the small files the services
// keep under the sandbox (the secure store, its key, the device identifier).
// A write goes to a temporary file in the same folder, is flushed to disk,
// then renamed over the target and the folder flushed, so a reader sees the
// old content or the new, never a part. Static; any thread, one writer per
// file at a time.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace trc::services {

class AtomicFile {
public:
    // The whole content, or nothing when the file does not exist; an error
    // code for any other failure.
    static std::optional<std::string> read(const std::filesystem::path& path, std::error_code& error);
    // Replaces the file with bytes, created with the given permission bits
    // (folders above it are made as needed). False, with the error, on failure;
    // the old content is then left untouched.
    static bool write(const std::filesystem::path& path, std::string_view bytes, std::filesystem::perms mode,
                      std::error_code& error);
};

}  // namespace trc::services
