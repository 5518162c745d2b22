#include "platform/foundation/Sandbox.h"

#include <random>
#include <string>

namespace trc::foundation {

namespace fs = std::filesystem;

namespace {
fs::path& current() {
    static fs::path p;
    return p;
}

fs::path ensure(const fs::path& p) {
    std::error_code ec;
    fs::create_directories(p, ec);
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
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            current() = candidate;
            return candidate;
        }
    }
}

fs::path Sandbox::documents() { return ensure(root() / "Documents"); }
fs::path Sandbox::caches() { return ensure(root() / "Library" / "Caches"); }
fs::path Sandbox::preferences() { return ensure(root() / "Library" / "Preferences"); }
fs::path Sandbox::tmp() { return ensure(root() / "tmp"); }

}  // namespace trc::foundation
