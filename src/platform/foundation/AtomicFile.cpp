#include "platform/foundation/AtomicFile.h"

#include <fcntl.h>

#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/FileLayer.h"

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {

// Closes the descriptor when it goes, so no road out of a call leaks it.
class Descriptor {
public:
    Descriptor(FileLayer& layer, int fd) : layer_(layer), fd_(fd) {}
    ~Descriptor() {
        std::error_code ignored;
        if (fd_ >= 0) layer_.close(fd_, ignored);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close(std::error_code& error) {
        int fd = fd_;
        fd_ = -1;
        return layer_.close(fd, error);
    }

private:
    FileLayer& layer_;
    int fd_;
};

bool writeAll(FileLayer& layer, int fd, std::string_view bytes, std::error_code& error) {
    while (!bytes.empty()) {
        long n = layer.write(fd, bytes.data(), bytes.size(), error);
        if (n < 0) return false;
        if (n == 0) {
            error = std::make_error_code(std::errc::no_space_on_device);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> AtomicFile::read(const fs::path& path, std::error_code& error) {
    error.clear();
    const std::shared_ptr<FileLayer> layer = FileLayer::shared();
    std::error_code opened;
    Descriptor fd(*layer, layer->open(path, O_RDONLY, opened));
    if (fd.get() < 0) {
        if (opened != std::errc::no_such_file_or_directory) error = opened;
        return std::nullopt;
    }
    std::string content;
    char buffer[4096];
    for (;;) {
        long n = layer->read(fd.get(), buffer, sizeof buffer, error);
        if (n == 0) break;
        if (n < 0) return std::nullopt;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

std::vector<fs::path> AtomicFile::leftovers(const fs::path& path) {
    std::vector<fs::path> out;
    const std::string prefix = "." + path.filename().string() + ".";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
            out.push_back(entry.path());
    }
    return out;
}

std::size_t AtomicFile::removeLeftovers(const fs::path& path) {
    std::size_t removed = 0;
    for (const fs::path& leftover : leftovers(path)) {
        std::error_code ignored;
        if (remove(leftover, ignored)) ++removed;
    }
    if (removed)
        core::SharedLoggerManager::log("AtomicFile", core::Severity::info,
                                       "removed " + std::to_string(removed) +
                                           " temporary file(s) an interrupted write of " + path.string() +
                                           " left behind");
    return removed;
}

bool AtomicFile::overwrite(const fs::path& path, std::uint64_t offset, std::string_view bytes, std::error_code& error) {
    error.clear();
    const std::shared_ptr<FileLayer> layer = FileLayer::shared();
    Descriptor fd(*layer, layer->open(path, O_WRONLY, error));
    if (fd.get() < 0) return false;
    while (!bytes.empty()) {
        const long n = layer->writeAt(fd.get(), bytes.data(), bytes.size(), offset, error);
        if (n < 0) return false;
        if (n == 0) {
            error = std::make_error_code(std::errc::io_error);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    if (!layer->sync(fd.get(), error)) return false;
    return fd.close(error);
}

bool AtomicFile::write(const fs::path& path, std::string_view bytes, fs::perms mode, std::error_code& error) {
    error.clear();
    const std::shared_ptr<FileLayer> layer = FileLayer::shared();
    const fs::path folder = path.parent_path();
    if (!layer->makeFolders(folder, kOwnerOnlyFolder, error)) return false;

    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    Descriptor fd(*layer, layer->createUnique(temp, mode, error));
    if (fd.get() < 0) return false;
    const bool written = writeAll(*layer, fd.get(), bytes, error) && layer->sync(fd.get(), error);
    std::error_code closing;
    if (!fd.close(closing) && written) error = closing;
    if (!error) layer->rename(temp, path, error);
    if (error) {
        std::error_code ignored;
        layer->remove(temp, ignored);
        return false;
    }
    // The rename itself is durable only once the folder is flushed.
    std::error_code ignored;
    Descriptor dir(*layer, layer->open(folder, O_RDONLY | O_DIRECTORY, ignored));
    if (dir.get() >= 0) layer->sync(dir.get(), ignored);
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

bool AtomicFile::remove(const fs::path& path, std::error_code& error) {
    error.clear();
    return FileLayer::shared()->remove(path, error);
}

bool AtomicFile::rename(const fs::path& from, const fs::path& to, std::error_code& error) {
    error.clear();
    return FileLayer::shared()->rename(from, to, error);
}

}  // namespace trc::foundation
