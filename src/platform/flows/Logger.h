#pragma once
// Named loggers of the common framework: one Logger per name for the process
// (Logger::shared), each with a log level; a logger without a level of its
// own follows the root logger's. Messages below the level are dropped; the
// rest go out through core::SharedLoggerManager under the logger's name.
// Never give a logger a passcode, a key or a token.
//
// Any thread; levels are read and set atomically. A process-state reset
// forgets every level set.

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/SharedLoggerManager.h"

namespace trc::flows {

class Logger {
public:
    // The least severity a logger writes; kOff writes nothing.
    using Level = std::optional<core::Severity>;
    static constexpr Level kOff = std::nullopt;

    static constexpr const char* kRootName = "ZEL";

    static std::shared_ptr<Logger> shared(const std::string& name);
    static std::shared_ptr<Logger> root();

    const std::string& name() const { return name_; }
    // The level in force: this logger's own, else the root's.
    Level logLevel() const;
    void setLogLevel(Level level);
    // The level's name: "debug", "info", "warn", "error" or "off".
    static std::string description(Level level);

    void log(core::Severity severity, std::string_view message) const;
    void debug(std::string_view message) const { log(core::Severity::debug, message); }
    void info(std::string_view message) const { log(core::Severity::info, message); }
    void warn(std::string_view message) const { log(core::Severity::warn, message); }
    void error(std::string_view message) const { log(core::Severity::error, message); }

    explicit Logger(std::string name) : name_(std::move(name)) {}

private:
    static constexpr int kInherit = -1;
    static constexpr int kOffLevel = -2;
    std::string name_;
    std::atomic<int> level_{kInherit};
};

}  // namespace trc::flows
