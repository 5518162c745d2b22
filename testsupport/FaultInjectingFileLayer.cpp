#include "testsupport/FaultInjectingFileLayer.h"

#include <sys/stat.h>

#include <cerrno>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {

bool isFullDisk(int error) { return error == ENOSPC || error == EDQUOT; }

// Whether a write of size bytes at offset stays within what the file holds.
bool withinFile(int fd, std::size_t size, std::uint64_t offset) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < 0) return false;
    const auto held = static_cast<std::uint64_t>(st.st_size);
    return offset <= held && size <= held - offset;
}

// True (with error set) when a fault took the call.
bool refused(int injected, std::error_code& error) {
    if (injected == 0) return false;
    error = {injected, std::generic_category()};
    return true;
}

}  // namespace

FaultInjectingFileLayer::FaultInjectingFileLayer(std::shared_ptr<FileLayer> inner)
    : inner_(inner ? std::move(inner) : FileLayer::system()) {}

std::shared_ptr<FaultInjectingFileLayer> FaultInjectingFileLayer::install() {
    auto layer = std::make_shared<FaultInjectingFileLayer>();
    FileLayer::setShared(layer);
    return layer;
}

void FaultInjectingFileLayer::add(Fault fault) {
    fault.path = fault.path.lexically_normal();
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back({std::move(fault), 0});
}

void FaultInjectingFileLayer::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

void FaultInjectingFileLayer::keepOnlyInside(const fs::path& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(faults_, [&](const Armed& a) {
        return a.fault.path.empty() || !covers(folder.lexically_normal(), a.fault.path);
    });
}

bool FaultInjectingFileLayer::empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_.empty();
}

std::uint64_t FaultInjectingFileLayer::operations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return operations_;
}

std::uint64_t FaultInjectingFileLayer::injected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return injected_;
}

bool FaultInjectingFileLayer::operationNamed(std::string_view name, std::optional<FileOperation>& out) {
    static const std::map<std::string_view, FileOperation> kinds = {
        {"open", FileOperation::open},     {"read", FileOperation::read},
        {"write", FileOperation::write},   {"sync", FileOperation::sync},
        {"close", FileOperation::close},   {"rename", FileOperation::rename},
        {"remove", FileOperation::remove}, {"makeFolder", FileOperation::makeFolder},
    };
    if (name == "any") {
        out.reset();
        return true;
    }
    auto it = kinds.find(name);
    if (it == kinds.end()) return false;
    out = it->second;
    return true;
}

std::optional<int> FaultInjectingFileLayer::errorNamed(std::string_view name) {
    static const std::map<std::string_view, int> errors = {
        {"EACCES", EACCES}, {"EIO", EIO},       {"ENOSPC", ENOSPC}, {"EMFILE", EMFILE},
        {"ENFILE", ENFILE}, {"EISDIR", EISDIR}, {"ENOENT", ENOENT}, {"EROFS", EROFS},
        {"EDQUOT", EDQUOT}, {"EPERM", EPERM},   {"EBUSY", EBUSY},   {"EAGAIN", EAGAIN},
    };
    auto it = errors.find(name);
    if (it == errors.end()) return std::nullopt;
    return it->second;
}

bool FaultInjectingFileLayer::covers(const fs::path& faultPath, const fs::path& path) {
    if (faultPath.empty()) return true;
    const fs::path p = path.lexically_normal();
    // The path itself or anything inside it.
    auto f = faultPath.begin();
    auto q = p.begin();
    for (; f != faultPath.end() && q != p.end() && *f == *q; ++f, ++q) {
    }
    if (f == faultPath.end() || (std::next(f) == faultPath.end() && f->empty())) return true;
    // A temporary file written beside it.
    const std::string prefix = "." + faultPath.filename().string() + ".";
    const std::string name = p.filename().string();
    return p.parent_path() == faultPath.parent_path() && name.size() > prefix.size() &&
           name.compare(0, prefix.size(), prefix) == 0;
}

int FaultInjectingFileLayer::check(FileOperation operation, const std::vector<fs::path>& paths, bool needsNoSpace) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++operations_;
    for (Armed& armed : faults_) {
        const Fault& f = armed.fault;
        if (f.operation && *f.operation != operation) continue;
        if (needsNoSpace && isFullDisk(f.error)) continue;
        bool matches = false;
        for (const fs::path& p : paths) matches = matches || covers(f.path, p);
        if (!matches) continue;
        ++armed.matched;
        if (f.nth == 0 || armed.matched == f.nth) {
            ++injected_;
            if (f.crash) throw Crash("the process crashed in a file call");
            return f.error;
        }
    }
    return 0;
}

int FaultInjectingFileLayer::checkDescriptor(FileOperation operation, int fd, bool needsNoSpace) {
    fs::path path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (auto it = open_.find(fd); it != open_.end()) path = it->second;
    }
    return check(operation, {path}, needsNoSpace);
}

int FaultInjectingFileLayer::remember(int fd, const fs::path& path) {
    if (fd >= 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        open_[fd] = path;
    }
    return fd;
}

int FaultInjectingFileLayer::open(const fs::path& path, int flags, std::error_code& error) {
    if (refused(check(FileOperation::open, {path}), error)) return -1;
    return remember(inner_->open(path, flags, error), path);
}

int FaultInjectingFileLayer::createUnique(std::string& nameTemplate, fs::perms mode, std::error_code& error) {
    if (refused(check(FileOperation::open, {fs::path(nameTemplate)}), error)) return -1;
    return remember(inner_->createUnique(nameTemplate, mode, error), nameTemplate);
}

long FaultInjectingFileLayer::read(int fd, char* buffer, std::size_t size, std::error_code& error) {
    if (refused(checkDescriptor(FileOperation::read, fd), error)) return -1;
    return inner_->read(fd, buffer, size, error);
}

long FaultInjectingFileLayer::write(int fd, const char* bytes, std::size_t size, std::error_code& error) {
    if (refused(checkDescriptor(FileOperation::write, fd), error)) return -1;
    return inner_->write(fd, bytes, size, error);
}

long FaultInjectingFileLayer::writeAt(int fd, const char* bytes, std::size_t size, std::uint64_t offset,
                                      std::error_code& error) {
    if (refused(checkDescriptor(FileOperation::write, fd, withinFile(fd, size, offset)), error)) return -1;
    return inner_->writeAt(fd, bytes, size, offset, error);
}

bool FaultInjectingFileLayer::sync(int fd, std::error_code& error) {
    if (refused(checkDescriptor(FileOperation::sync, fd), error)) return false;
    return inner_->sync(fd, error);
}

bool FaultInjectingFileLayer::close(int fd, std::error_code& error) {
    const int e = checkDescriptor(FileOperation::close, fd);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_.erase(fd);
    }
    // A failed close still frees the descriptor, as on the system.
    const bool closed = inner_->close(fd, error);
    return !refused(e, error) && closed;
}

bool FaultInjectingFileLayer::rename(const fs::path& from, const fs::path& to, std::error_code& error) {
    if (refused(check(FileOperation::rename, {from, to}), error)) return false;
    return inner_->rename(from, to, error);
}

bool FaultInjectingFileLayer::remove(const fs::path& path, std::error_code& error) {
    if (refused(check(FileOperation::remove, {path}), error)) return false;
    return inner_->remove(path, error);
}

bool FaultInjectingFileLayer::makeFolders(const fs::path& path, fs::perms mode, std::error_code& error) {
    if (refused(check(FileOperation::makeFolder, {path}), error)) return false;
    return inner_->makeFolders(path, mode, error);
}

}  // namespace trc::foundation
