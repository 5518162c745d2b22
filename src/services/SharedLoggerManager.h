#pragma once
// The front through which the library's features log to named loggers, with
// the host's severity names ("error", "warn", "info", "debug"; any other
// name logs at "info"). Static, stateless, any thread; never fails: a
// logging problem is swallowed rather than passed to the caller.

#include <string>
#include <string_view>

namespace trc::services {

class SharedLoggerManager {
public:
    // The logger the library's features write to unless they have one of their own.
    static constexpr const char* kTRCLogger = "ZEL.TRC";

    static void log(const std::string& name, std::string_view severity, std::string_view message) noexcept;
};

}  // namespace trc::services
