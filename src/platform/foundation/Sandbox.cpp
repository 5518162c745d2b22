#include "platform/foundation/Sandbox.h"

#include <sys/stat.h>

#include <cerrno>
#include <random>
#include <string>

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLayer.h"

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
fs::path& current() {
    static fs::path p;
    return p;
}

// Only the application itself may look inside its folders.
fs::path ensure(const fs::path& p) {
    std::error_code ec;
    FileLayer::shared()->makeFolders(p, AtomicFile::kOwnerOnlyFolder, ec);
    return p;
}
}  // namespace

const fs::path& Sandbox::root() {
    if (current().empty()) makeFreshRoot();
    return current();
}

void Sandbox::setRoot(const fs::path& path) { current() = ensure(path); }

fs::path Sandbox::makeFreshRoot() {
    std::random_device rd;
    for (;;) {
        fs::path candidate = fs::temp_directory_path() / ("trc-app-" + std::to_string(rd()));
        if (::mkdir(candidate.c_str(), static_cast<mode_t>(AtomicFile::kOwnerOnlyFolder)) == 0) {
            current() = candidate;
            return candidate;
        }
        // Only a name already taken is worth another try.
        if (errno != EEXIST) {
            throw fs::filesystem_error("cannot make a sandbox folder", candidate,
                                       std::error_code(errno, std::generic_category()));
        }
    }
}

fs::path Sandbox::documents() { return ensure(root() / "Documents"); }
fs::path Sandbox::caches() { return ensure(root() / "Library" / "Caches"); }
fs::path Sandbox::preferences() { return ensure(root() / "Library" / "Preferences"); }
fs::path Sandbox::tmp() { return ensure(root() / "tmp"); }

}  // namespace trc::foundation
