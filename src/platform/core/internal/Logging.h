#pragma once
// The back end behind SharedLoggerManager, the library's one way to log:
// named loggers over spdlog. Every logger writes to one shared in-memory
// capture (read by the tests) and, when the environment variable TRC_LOG is
// set to a level ("debug", "info", "warn", "error"), to standard error from
// that level on. Standard output is never written: it carries the host
// simulator's transcript.
//
// Features log through SharedLoggerManager, never here. Any thread.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/SharedLoggerManager.h"

namespace trc::core::internal {

struct LogRecord {
    std::string logger;
    Severity severity = Severity::info;
    std::string message;
};

class Logging {
public:
    // May throw (no memory); SharedLoggerManager swallows it.
    static void write(std::string_view loggerName, Severity severity, std::string_view message);

    // The capture: every record since the last clear (at most kCaptureLimit, oldest dropped).
    static constexpr std::size_t kCaptureLimit = 10000;
    static std::vector<LogRecord> captured();
    static void clearCaptured();
};

}  // namespace trc::core::internal
