#pragma once
// Named loggers over spdlog. Every logger writes to one shared in-memory
// capture (read by tests and by the log-scan checks) and, when the
// environment variable TRC_LOG is set to a level ("debug", "info", "warn",
// "error"), to standard error from that level on. Standard output is never
// written: it carries the host simulator's transcript.
//
// Severity names are the host's: "error", "warn", "info", "debug".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace spdlog {
class logger;
}

namespace trc::core {

struct LogRecord {
    std::string logger;
    std::string severity;
    std::string message;
};

class Logging {
public:
    static std::shared_ptr<spdlog::logger> logger(const std::string& name);
    // Writes message at the named severity; an unknown severity name logs at "info".
    static void log(const std::string& loggerName, std::string_view severity, std::string_view message);

    // The capture: every record since the last clear (at most kCaptureLimit, oldest dropped).
    static constexpr std::size_t kCaptureLimit = 10000;
    static std::vector<LogRecord> captured();
    static void clearCaptured();
};

}  // namespace trc::core
