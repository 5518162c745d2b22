#include "platform/flows/Logger.h"

#include <gtest/gtest.h>

#include "platform/core/internal/Logging.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::flows {
namespace {

using core::Severity;
using core::internal::Logging;

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        Logging::clearCaptured();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    // What reached the capture, as "logger severity message" lines.
    static std::string written() {
        std::string out;
        for (const auto& r : Logging::captured()) {
            out += r.logger + " " + std::string(core::SharedLoggerManager::severityName(r.severity)) + " " + r.message +
                   "\n";
        }
        return out;
    }
};

TEST_F(LoggerTest, WritesAtOrAboveItsLevelUnderItsName) {
    auto logger = Logger::shared("ZEL.Test.Levels");
    logger->setLogLevel(Severity::warn);
    logger->debug("d");
    logger->info("i");
    logger->warn("w");
    logger->error("e");
    EXPECT_EQ(written(), "ZEL.Test.Levels warn w\nZEL.Test.Levels error e\n");
}

TEST_F(LoggerTest, FollowsTheRootUntilGivenALevelOfItsOwn) {
    auto logger = Logger::shared("ZEL.Test.Inherit");
    EXPECT_EQ(logger->logLevel(), Severity::debug) << "the root starts at debug";
    Logger::root()->setLogLevel(Severity::error);
    EXPECT_EQ(logger->logLevel(), Severity::error);
    logger->warn("dropped");
    logger->setLogLevel(Severity::info);
    logger->info("kept");
    EXPECT_EQ(written(), "ZEL.Test.Inherit info kept\n");
    EXPECT_EQ(Logger::description(Logger::root()->logLevel()), "error");
}

TEST_F(LoggerTest, OffWritesNothingAndOverridesTheRoot) {
    auto logger = Logger::shared("ZEL.Test.Off");
    logger->setLogLevel(Logger::kOff);
    logger->error("silenced");
    EXPECT_EQ(written(), "");
    EXPECT_EQ(logger->logLevel(), Logger::kOff);
    EXPECT_EQ(Logger::description(logger->logLevel()), "off");
}

TEST_F(LoggerTest, AResetForgetsTheLevelsSet) {
    Logger::shared("ZEL.Test.Reset")->setLogLevel(Logger::kOff);
    core::ProcessStateReset::resetAll();
    EXPECT_EQ(Logger::shared("ZEL.Test.Reset")->logLevel(), Severity::debug);
}

}  // namespace
}  // namespace trc::flows
