#include "platform/flows/ZELvornSessionConfigurationStep.h"

#include "platform/flows/OnboardingError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"

namespace trc::flows {

namespace {

class ApplicationIDObserver : public ZELURLSessionObserving {
public:
    explicit ApplicationIDObserver(std::string id) : id_(std::move(id)) {}
    void prepare(URLRequest& request) override {
        request.setValue(id_, ZELvornSessionConfigurationStep::kApplicationIDHeader);
    }
    std::string id_;
};

}  // namespace

void ZELvornSessionConfigurationStep::onboard(const OnboardingContext& context, Completion completion) {
    const auto* settings = context.infoValue<ZELvornSettingsParameters>(infoKey_);
    if (!settings) {
        completion(OnboardingResult::failed(
            OnboardingError::missingArgument(infoKey_.rawValue(), "ZELvornSessionConfigurationStep")));
        return;
    }
    const auto& session = context.zelURLSession();
    bool updated = false;
    for (const auto& o : session->observers())
        if (auto known = std::dynamic_pointer_cast<ApplicationIDObserver>(o)) {
            known->id_ = settings->applicationID;
            updated = true;
        }
    if (!updated) session->registerObserver(std::make_shared<ApplicationIDObserver>(settings->applicationID));
    if (settings->deviceID) ZELvornSettingsParameters::defaultDeviceID = settings->deviceID;
    completion(OnboardingResult::success(context));
}

}  // namespace trc::flows
