#include "platform/flows/Logger.h"

#include <map>
#include <mutex>

#include "platform/core/ProcessState.h"

namespace trc::flows {

namespace {

constexpr core::Severity kDefaultRootLevel = core::Severity::debug;

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
    const int own = level_.load();
    if (own == kOffLevel) return kOff;
    if (own != kInherit) return static_cast<core::Severity>(own);
    if (name_ == kRootName) return kDefaultRootLevel;
    return root()->logLevel();
}

void Logger::setLogLevel(Level level) { level_.store(level ? static_cast<int>(*level) : kOffLevel); }

std::string Logger::description(Level level) {
    return level ? std::string(core::SharedLoggerManager::severityName(*level)) : "off";
}

void Logger::log(core::Severity severity, std::string_view message) const {
    const Level level = logLevel();
    if (!level || severity < *level) return;
    core::SharedLoggerManager::log(name_, severity, message);
}

}  // namespace trc::flows
