#pragma once
// Whole-file reads and crash-safe whole-file writes for the small files the
// library keeps under the sandbox (user defaults, secure stores, keys). A
// write goes to a new temporary file beside the target, is flushed to disk,
// renamed over the target and the folder flushed, so a reader (or a process
// started after a crash) sees either the old content or the new, never a
// mix. The folder is made when missing (owner-only); a failed write leaves the old file
// as it was and no temporary file behind. Every call goes through the
// process's FileLayer, so tests can make any of them fail.
//
// Stateless; any thread, one writer per file at a time. Two styles: the
// error-code calls never throw; the plain calls throw
// std::filesystem::filesystem_error naming the file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace trc::foundation {

class AtomicFile {
public:
    static constexpr std::filesystem::perms kDefaultMode =
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read |
        std::filesystem::perms::others_read;
    // What the application keeps for itself: files 0600, folders 0700.
    static constexpr std::filesystem::perms kOwnerOnly =
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    static constexpr std::filesystem::perms kOwnerOnlyFolder = std::filesystem::perms::owner_all;

    // The whole content, or nothing when the file does not exist; an error
    // code for any other failure.
    static std::optional<std::string> read(const std::filesystem::path& path, std::error_code& error);
    // Replaces the file with bytes, created with the given permission bits.
    // False, with the error, on failure.
    static bool write(const std::filesystem::path& path, std::string_view bytes, std::filesystem::perms mode,
                      std::error_code& error);
    // Rewrites bytes of an existing file in place at offset, within what the
    // file holds, and flushes them to disk. Not a replacement: it needs no
    // new space, so it works on a full disk. It is for a few bytes inside
    // one disk sector that a reader checks (a counter and its checksum): one
    // write call that a kill cannot split, and a sector the disk writes
    // whole. False, with the error, when the file is not there or cannot be
    // written.
    static bool overwrite(const std::filesystem::path& path, std::uint64_t offset, std::string_view bytes,
                          std::error_code& error);
    // Removes a file (one that is not there is no error); renames one.
    static bool remove(const std::filesystem::path& path, std::error_code& error);
    static bool rename(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error);
    // Temporary files a write of path left behind (after a crash).
    static std::vector<std::filesystem::path> leftovers(const std::filesystem::path& path);
    // Removes them: each is a whole copy of a file, perhaps of a secret one,
    // that nothing will ever read. Done when a file is opened for a process,
    // with no write of it under way; a write that was would fail and leave
    // the file as it was. The number removed (logged); failures are left for
    // the next time.
    static std::size_t removeLeftovers(const std::filesystem::path& path);

    static void write(const std::filesystem::path& path, std::string_view content);
    static std::string read(const std::filesystem::path& path);
};

}  // namespace trc::foundation
