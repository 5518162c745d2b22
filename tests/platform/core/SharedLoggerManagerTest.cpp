#include <gtest/gtest.h>

#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/core/internal/Logging.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc::core;
using internal::Logging;

TEST(SharedLoggerManagerLog, WritesToTheNamedLoggerAtTheSeverity) {
    Logging::clearCaptured();
    for (Severity severity : {Severity::error, Severity::warn, Severity::info, Severity::debug}) {
        SharedLoggerManager::log(SharedLoggerManager::kTRCLogger, severity,
                                 "at " + std::string(SharedLoggerManager::severityName(severity)));
    }
    SharedLoggerManager::log(SharedLoggerManager::kTRCLogger, Severity::warn, "careful {} stays literal");
    auto records = Logging::captured();
    ASSERT_EQ(records.size(), 5u);
    const Severity expected[] = {Severity::error, Severity::warn, Severity::info, Severity::debug, Severity::warn};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].severity, expected[i]) << i;
        EXPECT_EQ(records[i].logger, "ZEL.TRC") << i;
    }
    EXPECT_EQ(records[0].message, "at error");
    EXPECT_EQ(records[3].message, "at debug");
    EXPECT_EQ(records[4].message, "careful {} stays literal");
}

// The empty name must not reach the logging library's default logger, which
// writes to standard output (the simulator's transcript).
TEST(SharedLoggerManagerCapture, EmptyLoggerNameIsCapturedAndKeepsStandardOutputClean) {
    Logging::clearCaptured();
    testing::internal::CaptureStdout();
    SharedLoggerManager::log("", Severity::error, "no name");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    auto records = Logging::captured();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, "no name");
}

TEST(SharedLoggerManagerCapture, KeepsOnlyTheNewestRecords) {
    Logging::clearCaptured();
    for (std::size_t i = 0; i < Logging::kCaptureLimit + 5; ++i)
        SharedLoggerManager::log("bulk", Severity::debug, std::to_string(i));
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
    ProcessStateReset::resetAll();
    EXPECT_NE(order.find("bA"), std::string::npos) << order;
    EXPECT_EQ(order.find('a'), std::string::npos) << order;
    ProcessState::registerReset("test.a", [] {});
    ProcessState::registerReset("test.b", [] {});
}
