#pragma once
// A new, empty folder that is removed with everything in it when its owner
// lets it go. Tests and the host simulator own one per test or scenario;
// `makeSandbox()` makes one and uses it as the application's sandbox root, so
// that everything the library persists lands in a folder that disappears
// afterwards.
//
// Move-only. The folder is made with mkdtemp, so two owners never share one.
// Removal errors are ignored: a folder that cannot be removed is left behind,
// never a reason to fail the caller.

#include <filesystem>
#include <string_view>

namespace trc::foundation {

class TemporaryFolder {
public:
    // A new folder under parent (the system's temporary directory when empty),
    // its name starting with prefix. Throws std::filesystem::filesystem_error
    // when the folder cannot be made.
    explicit TemporaryFolder(std::string_view prefix = "trc-", const std::filesystem::path& parent = {});
    // A new folder made the sandbox root (Sandbox::setRoot).
    static TemporaryFolder makeSandbox();

    ~TemporaryFolder();
    TemporaryFolder(TemporaryFolder&& other) noexcept;
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    void remove() noexcept;

    std::filesystem::path path_;
};

}  // namespace trc::foundation
