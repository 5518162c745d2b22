#include "platform/foundation/FileLayer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

class SystemFileLayer final : public FileLayer {
public:
    int open(const fs::path& path, int flags, std::error_code& error) override {
        int fd;
        do fd = ::open(path.c_str(), flags | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd < 0) error = lastError();
        return fd;
    }

    int createUnique(std::string& nameTemplate, fs::perms mode, std::error_code& error) override {
        int fd = ::mkostemp(nameTemplate.data(), O_CLOEXEC);
        if (fd < 0) {
            error = lastError();
            return -1;
        }
        if (::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
            error = lastError();
            ::close(fd);
            ::unlink(nameTemplate.c_str());
            return -1;
        }
        return fd;
    }

    long read(int fd, char* buffer, std::size_t size, std::error_code& error) override {
        ssize_t n;
        do n = ::read(fd, buffer, size);
        while (n < 0 && errno == EINTR);
        if (n < 0) error = lastError();
        return static_cast<long>(n);
    }

    long write(int fd, const char* bytes, std::size_t size, std::error_code& error) override {
        ssize_t n;
        do n = ::write(fd, bytes, size);
        while (n < 0 && errno == EINTR);
        if (n < 0) error = lastError();
        return static_cast<long>(n);
    }

    long writeAt(int fd, const char* bytes, std::size_t size, std::uint64_t offset, std::error_code& error) override {
        ssize_t n;
        do n = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
        while (n < 0 && errno == EINTR);
        if (n < 0) error = lastError();
        return static_cast<long>(n);
    }

    bool sync(int fd, std::error_code& error) override {
        if (::fsync(fd) == 0) return true;
        error = lastError();
        return false;
    }

    bool close(int fd, std::error_code& error) override {
        // Linux frees the descriptor even when close reports EINTR: never retry.
        if (::close(fd) == 0) return true;
        error = lastError();
        return false;
    }

    bool rename(const fs::path& from, const fs::path& to, std::error_code& error) override {
        if (::rename(from.c_str(), to.c_str()) == 0) return true;
        error = lastError();
        return false;
    }

    bool remove(const fs::path& path, std::error_code& error) override {
        if (::remove(path.c_str()) == 0 || errno == ENOENT) return true;
        error = lastError();
        return false;
    }

    bool makeFolders(const fs::path& path, fs::perms mode, std::error_code& error) override {
        fs::path made;
        for (const fs::path& part : path) {
            made /= part;
            if (::mkdir(made.c_str(), static_cast<mode_t>(mode)) == 0 || errno == EEXIST) continue;
            error = lastError();
            return false;
        }
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
        error = std::make_error_code(std::errc::not_a_directory);
        return false;
    }
};

struct Slot {
    std::mutex mutex;
    std::shared_ptr<FileLayer> layer;
};

Slot& slot() {
    static Slot s;
    return s;
}

}  // namespace

std::shared_ptr<FileLayer> FileLayer::system() {
    static const std::shared_ptr<FileLayer> instance = std::make_shared<SystemFileLayer>();
    return instance;
}

std::shared_ptr<FileLayer> FileLayer::shared() {
    Slot& s = slot();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.layer) s.layer = system();
    return s.layer;
}

void FileLayer::setShared(std::shared_ptr<FileLayer> layer) {
    Slot& s = slot();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.layer = std::move(layer);
}

}  // namespace trc::foundation
