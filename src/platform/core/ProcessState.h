#pragma once
// What a process holds for its lifetime (singletons, statics of the library's
// classes) registers a reset here, so that tests and the host simulator can
// start each test or scenario as a fresh process would. Running the resets is
// theirs alone (core::ProcessStateReset, in the test-support target): the
// library and its hosts only register.

#include <functional>
#include <string>

namespace trc::core {

class ProcessState {
public:
    // Registers fn under name; registering the same name again replaces it.
    static void registerReset(const std::string& name, std::function<void()> fn);
};

}  // namespace trc::core
