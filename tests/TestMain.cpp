// The unit tests' entry point. The main queue of a process runs in real time
// unless it is told otherwise; the tests run on a virtual clock that moves
// only when a test advances it, so that is chosen here, once, before any test
// runs. A fixture that resets the queue without naming a clock keeps it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/dispatch/MainQueue.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    trc::dispatch::MainQueue::resetShared(std::make_unique<trc::dispatch::VirtualClock>());
    return RUN_ALL_TESTS();
}
