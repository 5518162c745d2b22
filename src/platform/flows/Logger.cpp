#include "platform/flows/Logger.h"

#include <map>
#include <mutex>

#include "platform/core/Logging.h"
#include "platform/core/ProcessState.h"

namespace trc::flows {

namespace {

constexpr Logger::Level kDefaultRootLevel = Logger::Level::debug;

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<Logger>, std::less<>> loggers;

    Registry() {
        core::ProcessState::registerReset("flows.Logger", [this] {
            std::lock_guard<std::mutex> lock(mutex);
            loggers.clear();
        });
    }
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

std::shared_ptr<Logger> Logger::shared(const std::string& name) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto& slot = r.loggers[name];
    if (!slot) slot = std::make_shared<Logger>(name);
    return slot;
}

std::shared_ptr<Logger> Logger::root() { return shared(kRootName); }

Logger::Level Logger::logLevel() const {
    int own = level_.load();
    if (own != kInherit) return static_cast<Level>(own);
    if (name_ == kRootName) return kDefaultRootLevel;
    return root()->logLevel();
}

void Logger::setLogLevel(Level level) { level_.store(static_cast<int>(level)); }

std::string Logger::description(Level level) {
    switch (level) {
        case Level::debug: return "debug";
        case Level::info: return "info";
        case Level::warn: return "warn";
        case Level::error: return "error";
        case Level::off: return "off";
    }
    return "off";
}

void Logger::log(Level level, std::string_view message) const {
    if (level == Level::off || level < logLevel()) return;
    core::Logging::log(name_, description(level), message);
}

}  // namespace trc::flows
