#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// Closes the descriptor when it goes, so no road out of write() leaks it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> AtomicFile::read(const fs::path& path, std::error_code& error) {
    error.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno != ENOENT) error = lastError();
        return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = lastError();
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

bool AtomicFile::write(const fs::path& path, std::string_view bytes, fs::perms mode, std::error_code& error) {
    return write(path, bytes, mode, error, {});
}

std::vector<fs::path> AtomicFile::leftovers(const fs::path& path) {
    std::vector<fs::path> out;
    const std::string prefix = "." + path.filename().string() + ".";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) out.push_back(entry.path());
    }
    return out;
}

bool AtomicFile::write(const fs::path& path, std::string_view bytes, fs::perms mode, std::error_code& error,
                       const std::function<void()>& beforeReplace) {
    error.clear();
    const fs::path folder = path.parent_path();
    fs::create_directories(folder, error);
    if (error) return false;

    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        error = lastError();
        return false;
    }
    const bool written = ::fchmod(fd.get(), static_cast<mode_t>(mode)) == 0 && writeAll(fd.get(), bytes) &&
                         ::fsync(fd.get()) == 0;
    if (!written) error = lastError();
    if (!fd.close() && !error) error = lastError();
    if (!error && beforeReplace) beforeReplace();
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself is durable only once the folder is flushed.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

void AtomicFile::write(const fs::path& path, std::string_view content) {
    std::error_code ec;
    if (!write(path, content, kDefaultMode, ec)) throw fs::filesystem_error("cannot write", path, ec);
}

std::string AtomicFile::read(const fs::path& path) {
    std::error_code ec;
    std::optional<std::string> content = read(path, ec);
    if (!content) {
        throw fs::filesystem_error("cannot read", path,
                                   ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory));
    }
    return *content;
}

}  // namespace trc::foundation
