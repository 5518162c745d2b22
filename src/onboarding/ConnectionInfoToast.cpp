#include "onboarding/ConnectionInfoToast.h"

#include "services/AppConfig.h"

namespace trc::onboarding {

void ConnectionInfoToast::showToast(const core::Value&) {
    auto config = services::AppConfig::sharedInstance();
    const core::Value* message = config->connectionSettings.find(services::AppConfig::kConnectionInfoToastMessage);
    if (!message || !message->ifString() || message->ifString()->empty()) return;
    config->connectionSettings.set(services::AppConfig::kConnectionInfoToastMessage, "");
}

}  // namespace trc::onboarding
