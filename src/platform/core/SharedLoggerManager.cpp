#include "platform/core/SharedLoggerManager.h"

#include "platform/core/internal/Logging.h"

namespace trc::core {

void SharedLoggerManager::log(std::string_view name, Severity severity, std::string_view message) noexcept {
    try {
        internal::Logging::write(name, severity, message);
    } catch (...) {
        // Nowhere left to report it: a log line is never worth a failure.
    }
}

std::string_view SharedLoggerManager::severityName(Severity severity) {
    switch (severity) {
    case Severity::debug: return "debug";
    case Severity::info: return "info";
    case Severity::warn: return "warn";
    case Severity::error: return "error";
    }
    return "error";
}

}  // namespace trc::core
