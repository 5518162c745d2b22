#pragma once
// A test fixture that starts as a freshly installed application would: a new
// sandbox root of its own (removed afterwards), every process-wide instance
// dropped, a new main queue on a virtual clock, an empty log capture.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Sandbox.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::testing {

class FreshSandboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = foundation::Sandbox::makeFreshRoot();
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
    }
    void TearDown() override {
        core::ProcessStateReset::resetAll();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    // As the application starting again on the same data.
    void relaunch() { core::ProcessStateReset::resetAll(); }

    std::filesystem::path root;
};

}  // namespace trc::testing
