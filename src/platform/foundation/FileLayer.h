#pragma once
// The one door the library's stored files pass through: the user defaults,
// the encrypted credential stores, the secure store and their folders (all
// through AtomicFile and Sandbox). Unless something else is put in its
// place it is the system's own file calls. Tests and the host simulator put
// a FaultInjectingFileLayer there, so that reads, writes or opens fail with
// a chosen errno as on a device whose storage misbehaves, and every store is
// tested through the very calls it makes.
//
// Calls never throw: a failure is an errno value in the generic category,
// handed back through the error code (EINTR is retried inside). Any thread;
// the shared layer is swapped under a lock, and a caller keeps the layer it
// took for the whole of one operation.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace trc::foundation {

// The kinds of call a fault can be aimed at.
enum class FileOperation { open, read, write, sync, close, rename, remove, makeFolder };

class FileLayer {
public:
    virtual ~FileLayer() = default;

    // The layer in force for the process.
    static std::shared_ptr<FileLayer> shared();
    // Puts layer in force; nullptr puts the system's own back.
    static void setShared(std::shared_ptr<FileLayer> layer);
    // The system's own file calls.
    static std::shared_ptr<FileLayer> system();

    // A descriptor of path opened with open(2) flags, or -1.
    virtual int open(const std::filesystem::path& path, int flags, std::error_code& error) = 0;
    // A new file from a name ending in "XXXXXX" (mkstemp), given mode; the
    // name is completed in place. A descriptor, or -1.
    virtual int createUnique(std::string& nameTemplate, std::filesystem::perms mode, std::error_code& error) = 0;
    // Bytes read into buffer, 0 at the end of the file, or -1.
    virtual long read(int fd, char* buffer, std::size_t size, std::error_code& error) = 0;
    // Bytes written (perhaps fewer than size), or -1.
    virtual long write(int fd, const char* bytes, std::size_t size, std::error_code& error) = 0;
    // The same at offset (pwrite), leaving the descriptor's position alone.
    virtual long writeAt(int fd, const char* bytes, std::size_t size, std::uint64_t offset, std::error_code& error) = 0;
    virtual bool sync(int fd, std::error_code& error) = 0;
    // The descriptor is gone afterwards even when this reports an error.
    virtual bool close(int fd, std::error_code& error) = 0;
    virtual bool rename(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) = 0;
    // Removes a file or an empty folder; one that is not there is no error.
    virtual bool remove(const std::filesystem::path& path, std::error_code& error) = 0;
    // Makes a folder and its missing parents, each new one with mode.
    virtual bool makeFolders(const std::filesystem::path& path, std::filesystem::perms mode,
                             std::error_code& error) = 0;
};

}  // namespace trc::foundation
