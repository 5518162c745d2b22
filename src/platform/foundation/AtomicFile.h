#pragma once
// Whole-file reads and atomic whole-file writes. A write goes to a new
// temporary file beside the target, is flushed to disk, and then renamed over
// the target, so a reader (or a process started after a crash) sees either
// the old content or the new, never a mix. The folder is made when missing.
//
// Stateless; any thread. Failures throw std::filesystem::filesystem_error
// naming the file; a failed write leaves the old file as it was.

#include <filesystem>
#include <string>
#include <string_view>

namespace trc::foundation {

class AtomicFile {
public:
    static void write(const std::filesystem::path& path, std::string_view content);
    static std::string read(const std::filesystem::path& path);
};

}  // namespace trc::foundation
