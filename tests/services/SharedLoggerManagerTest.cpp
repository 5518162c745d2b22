#include <gtest/gtest.h>

#include "platform/core/Logging.h"
#include "services/SharedLoggerManager.h"

using namespace trc;

TEST(SharedLoggerManagerLog, WritesToTheNamedLoggerAtTheSeverity) {
    core::Logging::clearCaptured();
    for (const char* severity : {"error", "warn", "info", "debug", "fatal", ""}) {
        services::SharedLoggerManager::log("ZEL.TRC", severity, std::string("at ") + severity);
    }
    services::SharedLoggerManager::log("", "info", "unnamed");
    auto records = core::Logging::captured();
    ASSERT_EQ(records.size(), 7u);
    const char* expected[] = {"error", "warn", "info", "debug", "info", "info", "info"};
    for (std::size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].severity, expected[i]) << i;
    EXPECT_EQ(records[0].logger, "ZEL.TRC");
    EXPECT_EQ(records[0].message, "at error");
    EXPECT_EQ(records[6].message, "unnamed");
}
