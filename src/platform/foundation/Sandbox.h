#pragma once
// The application's own folders, as a sandboxed application has them: one
// root holding Documents, Library/Caches, Library/Preferences and tmp.
//
// The root is set once at start-up (an application's data folder; a fresh
// temporary folder per test or scenario). Everything that persists (user
// defaults, the credential store, caches, log files) lives below it, so a
// relaunch that keeps the root keeps what was persisted, and a new root is a
// freshly installed application. Folders are made owner-only (0700), through
// the FileLayer. Main thread.

#include <filesystem>

namespace trc::foundation {

class Sandbox {
public:
    // The current root; made on first use as a new folder under the system's
    // temporary directory when none was set.
    static const std::filesystem::path& root();
    // Uses path as the root (created when missing).
    static void setRoot(const std::filesystem::path& path);
    // A new, empty root under the system's temporary directory; returns it.
    // Throws std::filesystem::filesystem_error when none can be made.
    static std::filesystem::path makeFreshRoot();

    static std::filesystem::path documents();
    static std::filesystem::path caches();
    static std::filesystem::path preferences();
    static std::filesystem::path tmp();
};

}  // namespace trc::foundation
