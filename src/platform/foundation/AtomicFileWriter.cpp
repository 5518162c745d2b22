#include "platform/foundation/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path) {
    throw std::system_error(errno, std::generic_category(), what + " " + path.string());
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

void writeAll(int fd, const unsigned char* data, std::size_t size, const fs::path& path) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("cannot write", path);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

fs::path AtomicFileWriter::temporaryPathFor(const fs::path& path) {
    fs::path tmp = path;
    tmp += ".tmp";
    return tmp;
}

void AtomicFileWriter::write(const fs::path& path, const Bytes& bytes, unsigned mode,
                             const std::function<void()>& beforeReplace) {
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    const fs::path tmp = temporaryPathFor(path);
    {
        Fd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, static_cast<mode_t>(mode)));
        if (fd.get() < 0) fail("cannot create", tmp);
        // An old temporary file keeps its old mode; the content must not be
        // readable by others even for a moment.
        ::fchmod(fd.get(), static_cast<mode_t>(mode));
        writeAll(fd.get(), bytes.data(), bytes.size(), tmp);
        if (::fsync(fd.get()) != 0) fail("cannot sync", tmp);
        if (::close(fd.release()) != 0) fail("cannot close", tmp);
    }
    if (beforeReplace) beforeReplace();
    if (::rename(tmp.c_str(), path.c_str()) != 0) fail("cannot replace", path);
    syncFolder(path.parent_path());
}

std::optional<AtomicFileWriter::Bytes> AtomicFileWriter::read(const fs::path& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        fail("cannot open", path);
    }
    Bytes out;
    unsigned char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("cannot read", path);
        }
        if (n == 0) break;
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

}  // namespace trc::foundation
