#include "platform/core/internal/Logging.h"

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace trc::core::internal {

namespace {

spdlog::level::level_enum levelOf(Severity severity) {
    switch (severity) {
    case Severity::debug: return spdlog::level::debug;
    case Severity::info: return spdlog::level::info;
    case Severity::warn: return spdlog::level::warn;
    case Severity::error: return spdlog::level::err;
    }
    return spdlog::level::err;
}

Severity severityOf(spdlog::level::level_enum l) {
    switch (l) {
    case spdlog::level::err:
    case spdlog::level::critical: return Severity::error;
    case spdlog::level::warn: return Severity::warn;
    case spdlog::level::info: return Severity::info;
    default: return Severity::debug;
    }
}

class CaptureSink : public spdlog::sinks::base_sink<std::mutex> {
public:
    std::vector<LogRecord> snapshot() {
        std::lock_guard<std::mutex> lock(mutex_);
        return {records_.begin(), records_.end()};
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        records_.clear();
    }

protected:
    void sink_it_(const spdlog::details::log_msg& msg) override {
        records_.push_back({std::string(msg.logger_name.begin(), msg.logger_name.end()), severityOf(msg.level),
                            std::string(msg.payload.begin(), msg.payload.end())});
        if (records_.size() > Logging::kCaptureLimit) records_.pop_front();
    }
    void flush_() override {}

private:
    std::deque<LogRecord> records_;
};

struct Sinks {
    std::shared_ptr<CaptureSink> capture = std::make_shared<CaptureSink>();
    std::shared_ptr<spdlog::sinks::sink> console;
    // Our own table rather than spdlog's registry: there the empty name is the
    // default logger, which writes to standard output.
    std::map<std::string, std::shared_ptr<spdlog::logger>, std::less<>> loggers;
    std::mutex mutex;

    Sinks() {
        if (const char* level = std::getenv("TRC_LOG"); level && *level) {
            console = std::make_shared<spdlog::sinks::stderr_color_sink_mt>();
            console->set_level(spdlog::level::from_str(level));
        }
    }
};

Sinks& sinks() {
    static Sinks s;
    return s;
}

std::shared_ptr<spdlog::logger> logger(std::string_view name) {
    Sinks& s = sinks();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (auto it = s.loggers.find(name); it != s.loggers.end()) return it->second;
    std::vector<spdlog::sink_ptr> list{s.capture};
    if (s.console) list.push_back(s.console);
    auto l = std::make_shared<spdlog::logger>(std::string(name), list.begin(), list.end());
    l->set_level(spdlog::level::debug);
    s.loggers.emplace(std::string(name), l);
    return l;
}

}  // namespace

void Logging::write(std::string_view loggerName, Severity severity, std::string_view message) {
    logger(loggerName)->log(levelOf(severity), "{}", message);
}

std::vector<LogRecord> Logging::captured() { return sinks().capture->snapshot(); }

void Logging::clearCaptured() { sinks().capture->clear(); }

}  // namespace trc::core::internal
