#include "testsupport/TemporaryFolder.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include "platform/foundation/Sandbox.h"

namespace trc::foundation {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(std::string_view prefix, const fs::path& parent) {
    fs::path base = parent.empty() ? fs::temp_directory_path() : parent;
    fs::create_directories(base);
    std::string pattern = (base / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        throw fs::filesystem_error("cannot make a temporary folder", fs::path(pattern),
                                   std::error_code(errno, std::generic_category()));
    }
    path_ = pattern;
}

TemporaryFolder TemporaryFolder::makeSandbox() {
    TemporaryFolder folder("trc-app-");
    Sandbox::setRoot(folder.path());
    return folder;
}

TemporaryFolder::~TemporaryFolder() { remove(); }

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TemporaryFolder& TemporaryFolder::operator=(TemporaryFolder&& other) noexcept {
    if (this != &other) {
        remove();
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

void TemporaryFolder::remove() noexcept {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
    path_.clear();
}

}  // namespace trc::foundation
