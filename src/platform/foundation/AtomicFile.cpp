#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
[[noreturn]] void fail(const char* what, const fs::path& path, int err) {
    throw fs::filesystem_error(what, path, std::error_code(err, std::generic_category()));
}

// Closes the descriptor and removes the temporary file unless committed.
class PendingFile {
public:
    PendingFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PendingFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }
    int close() {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }
    void commit() { committed_ = true; }
    const std::string& path() const { return path_; }

private:
    int fd_;
    std::string path_;
    bool committed_ = false;
};
}  // namespace

void AtomicFile::write(const fs::path& path, std::string_view content) {
    fs::path folder = path.parent_path();
    if (!folder.empty()) fs::create_directories(folder);
    std::string pattern = path.string() + ".tmp-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) fail("cannot make a temporary file beside", path, errno);
    PendingFile pending(fd, pattern);

    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(pending.fd(), p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("cannot write", pending.path(), errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(pending.fd()) != 0) fail("cannot flush", pending.path(), errno);
    if (pending.close() != 0) fail("cannot close", pending.path(), errno);
    if (::rename(pending.path().c_str(), path.c_str()) != 0) fail("cannot rename into place", path, errno);
    pending.commit();

    // Makes the rename itself durable; failing here loses nothing already written.
    if (int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

std::string AtomicFile::read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot open", path, errno ? errno : ENOENT);
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) fail("cannot read", path, EIO);
    return out.str();
}

}  // namespace trc::foundation
