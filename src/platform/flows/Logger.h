#pragma once
// Named loggers of the common framework, over core::Logging: one Logger per
// name for the process (Logger::shared), each with a log level; a logger
// without a level of its own follows the root logger's. Messages below the
// level are dropped. Never give a logger a passcode, a key or a token.
//
// Any thread; levels are read and set atomically. A process-state reset
// forgets every level set.

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace trc::flows {

class Logger {
public:
    enum class Level { debug, info, warn, error, off };

    static constexpr const char* kRootName = "ZEL";

    static std::shared_ptr<Logger> shared(const std::string& name);
    static std::shared_ptr<Logger> root();

    const std::string& name() const { return name_; }
    // The level in force: this logger's own, else the root's.
    Level logLevel() const;
    void setLogLevel(Level level);
    // The level's name: "debug", "info", "warn", "error" or "off".
    static std::string description(Level level);

    void log(Level level, std::string_view message) const;
    void debug(std::string_view message) const { log(Level::debug, message); }
    void info(std::string_view message) const { log(Level::info, message); }
    void warn(std::string_view message) const { log(Level::warn, message); }
    void error(std::string_view message) const { log(Level::error, message); }

    explicit Logger(std::string name) : name_(std::move(name)) {}

private:
    static constexpr int kInherit = -1;
    std::string name_;
    std::atomic<int> level_{kInherit};
};

}  // namespace trc::flows
