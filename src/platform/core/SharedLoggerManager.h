#pragma once
// The one front through which the library logs: a message to a named logger
// at a severity. Most of the library writes under kTRCLogger; a class with a
// logger of its own names it once, as a constant of its own. Behind the front
// (internal/Logging) every logger writes to an in-memory capture, which the
// tests read, and, when the environment variable TRC_LOG names a level, to
// standard error; never to standard output, which carries the host
// simulator's transcript.
//
// Static, stateless, any thread; never fails: a logging problem is swallowed
// rather than passed to the caller.

#include <string_view>

namespace trc::core {

// The host's severities, least severe first.
enum class Severity { debug, info, warn, error };

class SharedLoggerManager {
public:
    // The logger the library's features write to unless they have one of their own.
    static constexpr const char* kTRCLogger = "ZEL.TRC";

    static void log(std::string_view name, Severity severity, std::string_view message) noexcept;

    // The host's name of a severity: "debug", "info", "warn" or "error".
    static std::string_view severityName(Severity severity);
};

}  // namespace trc::core
