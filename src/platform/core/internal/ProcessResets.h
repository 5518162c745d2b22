#pragma once
// The resets ProcessState::registerReset takes. Only the test-support target
// runs them (core::ProcessStateReset, between tests and scenarios): the header
// is not installed, so no host can wipe the library's process-wide state.

#include <functional>
#include <string>

namespace trc::core::internal {

class ProcessResets {
public:
    // Keeps fn under name; the same name again replaces it.
    static void add(const std::string& name, std::function<void()> fn);
    // Runs every reset kept, in the reverse order of registration.
    static void runAll();

    ProcessResets() = delete;
};

}  // namespace trc::core::internal
