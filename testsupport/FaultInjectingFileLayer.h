#pragma once
// A file layer that fails chosen calls, for tests and the host simulator:
// each fault names a kind of call (or every kind), a path (or every path)
// and the errno to fail with, and fails either every call it matches or only
// the Nth one after it was added. Calls no fault matches go to the layer
// underneath (the system's own by default), so files stay real.
//
// A fault on a path also matches the temporary files AtomicFile writes
// beside it (".name.XXXXXX"), everything inside it when it is a folder, and
// the reads, writes, syncs and closes of a descriptor opened on one of
// those. That is what "the store cannot be written" means to a caller.
//
// A fault of ENOSPC or EDQUOT stands for a full disk (or quota): as on a
// device, it fails only writes that need new space, so a write in place
// within what a file already holds (writeAt) goes through.
//
// Typical uses: a full disk is {write, any path, ENOSPC}; a descriptor table
// that is used up is {open, any path, EMFILE}; "fail the Nth operation" is
// {any kind, any path, EIO, nth = N}, looped over N until a run completes,
// checking each time that nothing stored was lost. A fault that crashes
// throws Crash from the call instead of failing it: it stands for the
// process dying right there (a rename that crashes leaves the old file and
// the complete temporary file beside it, as a power cut would).
//
// Any thread (calls are counted under a lock). install() puts a new one in
// force for the process; it stays until FileLayer::setShared replaces it.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/foundation/FileLayer.h"

namespace trc::foundation {

class FaultInjectingFileLayer final : public FileLayer {
public:
    struct Fault {
        std::optional<FileOperation> operation;  // nothing: every kind of call
        std::filesystem::path path;              // empty: every path
        int error = 5;                           // EIO
        std::uint64_t nth = 0;                   // 0: every match; N: only the Nth match
        bool crash = false;                      // throw Crash instead of failing with error
    };
    struct Crash : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit FaultInjectingFileLayer(std::shared_ptr<FileLayer> inner = FileLayer::system());

    // A new layer with no faults, put in force for the process.
    static std::shared_ptr<FaultInjectingFileLayer> install();

    void add(Fault fault);
    void clear();
    // Drops the faults whose path is not inside folder (and those without a path).
    void keepOnlyInside(const std::filesystem::path& folder);
    bool empty() const;
    // Calls that came through since the layer was made; calls it failed.
    std::uint64_t operations() const;
    std::uint64_t injected() const;

    // "open", "read", ... as in FileOperation, or "any" (out set to nothing);
    // false for any other name.
    static bool operationNamed(std::string_view name, std::optional<FileOperation>& out);
    // "EACCES", "EIO", "ENOSPC", "EMFILE", "ENFILE", "EISDIR", "ENOENT",
    // "EROFS", "EDQUOT", "EPERM", "EBUSY", "EAGAIN".
    static std::optional<int> errorNamed(std::string_view name);

    int open(const std::filesystem::path& path, int flags, std::error_code& error) override;
    int createUnique(std::string& nameTemplate, std::filesystem::perms mode, std::error_code& error) override;
    long read(int fd, char* buffer, std::size_t size, std::error_code& error) override;
    long write(int fd, const char* bytes, std::size_t size, std::error_code& error) override;
    long writeAt(int fd, const char* bytes, std::size_t size, std::uint64_t offset, std::error_code& error) override;
    bool sync(int fd, std::error_code& error) override;
    bool close(int fd, std::error_code& error) override;
    bool rename(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) override;
    bool remove(const std::filesystem::path& path, std::error_code& error) override;
    bool makeFolders(const std::filesystem::path& path, std::filesystem::perms mode, std::error_code& error) override;

private:
    struct Armed {
        Fault fault;
        std::uint64_t matched = 0;
    };

    // Counts the call; the errno to fail it with, or 0 to let it through.
    // A call that needs no new space is not one a full disk fails.
    int check(FileOperation operation, const std::vector<std::filesystem::path>& paths, bool needsNoSpace = false);
    int checkDescriptor(FileOperation operation, int fd, bool needsNoSpace = false);
    // Keeps which path a new descriptor is on; fd as it came.
    int remember(int fd, const std::filesystem::path& path);
    static bool covers(const std::filesystem::path& faultPath, const std::filesystem::path& path);

    std::shared_ptr<FileLayer> inner_;
    mutable std::mutex mutex_;
    std::vector<Armed> faults_;
    std::map<int, std::filesystem::path> open_;
    std::uint64_t operations_ = 0;
    std::uint64_t injected_ = 0;
};

}  // namespace trc::foundation
