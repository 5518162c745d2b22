#pragma once
// A kill in the middle of an atomic write, for real: write runs in a child
// process whose file layer kills it (SIGKILL) at the moment the complete
// temporary file would replace its target, so the temporary file stays
// behind exactly as after the application was killed there. The parent
// process goes on as the next launch would.

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include "platform/foundation/FileLayer.h"

namespace trc::testing {

class KillingFileLayer final : public foundation::FileLayer {
public:
    using path = std::filesystem::path;
    int open(const path& p, int flags, std::error_code& e) override { return inner_->open(p, flags, e); }
    int createUnique(std::string& name, std::filesystem::perms mode, std::error_code& e) override {
        return inner_->createUnique(name, mode, e);
    }
    long read(int fd, char* buffer, std::size_t size, std::error_code& e) override {
        return inner_->read(fd, buffer, size, e);
    }
    long write(int fd, const char* bytes, std::size_t size, std::error_code& e) override {
        return inner_->write(fd, bytes, size, e);
    }
    long writeAt(int fd, const char* bytes, std::size_t size, std::uint64_t offset, std::error_code& e) override {
        return inner_->writeAt(fd, bytes, size, offset, e);
    }
    bool sync(int fd, std::error_code& e) override { return inner_->sync(fd, e); }
    bool close(int fd, std::error_code& e) override { return inner_->close(fd, e); }
    bool rename(const path&, const path&, std::error_code&) override {
        ::kill(::getpid(), SIGKILL);
        return false;
    }
    bool remove(const path& p, std::error_code& e) override { return inner_->remove(p, e); }
    bool makeFolders(const path& p, std::filesystem::perms mode, std::error_code& e) override {
        return inner_->makeFolders(p, mode, e);
    }

private:
    std::shared_ptr<foundation::FileLayer> inner_ = foundation::FileLayer::system();
};

// True when the child running write was killed as it was about to rename.
inline bool killedDuringWrite(const std::function<void()>& write) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        foundation::FileLayer::setShared(std::make_shared<KillingFileLayer>());
        try {
            write();
        } catch (...) {
        }
        ::_exit(0);  // never got to a rename
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return false;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace trc::testing
