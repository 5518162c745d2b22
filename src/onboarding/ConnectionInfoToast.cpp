#include "onboarding/ConnectionInfoToast.h"

#include "services/AppConfig.h"
#include "services/ToastMessageView.h"

namespace trc::onboarding {

using services::AppConfig;
using services::ToastMessageView;

void ConnectionInfoToast::showToast(const core::Value& parent) {
    const auto config = AppConfig::sharedInstance();
    const core::Value* message = config->connectionSettings().find(AppConfig::kConnectionInfoToastMessage);
    if (!message || !message->isString() || message->ifString()->empty()) return;
    core::Dictionary params{{ToastMessageView::kMessageKey, *message},
                            {ToastMessageView::kDurationKey, kDuration},
                            {ToastMessageView::kMaxNumberOfLinesKey, kMaxNumberOfLines}};
    if (!parent.isNil()) params.set(ToastMessageView::kBackgroundKey, parent);
    ToastMessageView::displayToastMsg(params);
    config->setConnectionSetting(AppConfig::kConnectionInfoToastMessage, "");
}

}  // namespace trc::onboarding
