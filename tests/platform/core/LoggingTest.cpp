#include <gtest/gtest.h>

#include "platform/core/Logging.h"
#include "platform/core/ProcessState.h"

using namespace trc::core;

TEST(LoggingCapture, RecordsLoggerSeverityAndMessage) {
    Logging::clearCaptured();
    Logging::log("ZEL.TRC", "warn", "careful {} stays literal");
    Logging::log("ZEL.TRC", "verbose", "unknown severity");
    auto records = Logging::captured();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].logger, "ZEL.TRC");
    EXPECT_EQ(records[0].severity, "warn");
    EXPECT_EQ(records[0].message, "careful {} stays literal");
    EXPECT_EQ(records[1].severity, "info");
}

// The empty name must not reach the logging library's default logger, which
// writes to standard output (the simulator's transcript).
TEST(LoggingCapture, EmptyLoggerNameIsCapturedAndKeepsStandardOutputClean) {
    Logging::clearCaptured();
    testing::internal::CaptureStdout();
    Logging::log("", "error", "no name");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    auto records = Logging::captured();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, "no name");
}

TEST(LoggingCapture, KeepsOnlyTheNewestRecords) {
    Logging::clearCaptured();
    for (std::size_t i = 0; i < Logging::kCaptureLimit + 5; ++i) Logging::log("bulk", "debug", std::to_string(i));
    auto records = Logging::captured();
    ASSERT_EQ(records.size(), Logging::kCaptureLimit);
    EXPECT_EQ(records.front().message, "5");
    Logging::clearCaptured();
}

TEST(ProcessStateResets, RunNewestFirstAndReplaceByName) {
    std::string order;
    ProcessState::registerReset("test.a", [&] { order += "a"; });
    ProcessState::registerReset("test.b", [&] { order += "b"; });
    ProcessState::registerReset("test.a", [&] { order += "A"; });
    ProcessState::resetAll();
    EXPECT_NE(order.find("bA"), std::string::npos) << order;
    EXPECT_EQ(order.find('a'), std::string::npos) << order;
    ProcessState::registerReset("test.a", [] {});
    ProcessState::registerReset("test.b", [] {});
}
