#include "services/SharedLoggerManager.h"

#include "platform/core/Logging.h"

namespace trc::services {

void SharedLoggerManager::log(const std::string& name, std::string_view severity, std::string_view message) noexcept {
    try {
        core::Logging::log(name, severity, message);
    } catch (...) {
        // Nowhere left to report it: a log line is never worth a failure.
    }
}

}  // namespace trc::services
