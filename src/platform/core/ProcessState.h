#pragma once
// What a process holds for its lifetime (singletons, statics of the library's
// classes) registers a reset here. Only the host simulator and tests call
// resetAll(), to start each scenario or test as a fresh process would.

#include <functional>
#include <string>

namespace trc::core {

class ProcessState {
public:
    // Registers fn under name; registering the same name again replaces it.
    static void registerReset(const std::string& name, std::function<void()> fn);
    // Runs every registered reset, in the reverse order of registration.
    static void resetAll();
};

}  // namespace trc::core
