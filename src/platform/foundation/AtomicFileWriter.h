#pragma once
// Replaces a file's content all at once: the new bytes go to a temporary file
// beside the target, are flushed to disk (fsync), and the temporary file is
// renamed over the target, then the folder is synced. A reader (or the next
// launch after a crash) sees the old content or the new, never a mix. A
// temporary file left by a crash is ignored by readers and replaced by the
// next write.
//
// Any thread; writes to one path must not race each other. Failures throw
// std::system_error; the target then keeps its old content.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trc::foundation {

class AtomicFileWriter {
public:
    using Bytes = std::vector<unsigned char>;

    // Writes bytes to path with the given permission bits (owner read/write
    // by default). beforeReplace, when given, runs after the temporary file
    // is complete and before it replaces the target; tests throw from it to
    // stand for a crash at that moment.
    static void write(const std::filesystem::path& path, const Bytes& bytes, unsigned mode = 0600,
                      const std::function<void()>& beforeReplace = {});

    // The whole content of path, or nothing when it does not exist; throws
    // std::system_error when it exists but cannot be read.
    static std::optional<Bytes> read(const std::filesystem::path& path);

    // The temporary file a write of path uses.
    static std::filesystem::path temporaryPathFor(const std::filesystem::path& path);
};

}  // namespace trc::foundation
