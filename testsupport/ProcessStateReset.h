#pragma once
// Starts a test or a scenario as a fresh process would: runs every reset the
// library's process-wide state registered with core::ProcessState (its
// singletons and statics), in the reverse order of registration. The main
// queue is not among them: dispatch::MainQueue::resetShared() starts it anew.
//
// Main thread, with no library work running on other threads.

namespace trc::core {

class ProcessStateReset {
public:
    static void resetAll();

    ProcessStateReset() = delete;
};

}  // namespace trc::core
