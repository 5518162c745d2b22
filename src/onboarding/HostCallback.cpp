#include "onboarding/HostCallback.h"

#include <exception>
#include <string>

#include "platform/core/SharedLoggerManager.h"

namespace trc::onboarding {

bool HostCallback::send(const std::shared_ptr<core::Object>& callback, std::string_view selector,
                        const core::Value& argument) {
    if (!callback || !callback->respondsToSelector(selector)) return false;
    try {
        callback->perform(selector, argument);
        return true;
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "the host's callback failed on " + std::string(selector) + ": " + e.what());
    } catch (...) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "the host's callback failed on " + std::string(selector));
    }
    return false;
}

}  // namespace trc::onboarding
