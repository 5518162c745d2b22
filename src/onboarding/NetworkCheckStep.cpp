#include "onboarding/NetworkCheckStep.h"

#include <memory>

#include "onboarding/NetworkCheckStepError.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "platform/foundation/WebURL.h"

namespace trc::onboarding {

namespace {

// Misconfigured flows end here rather than hang; one main-queue hop, as a
// request's completion would.
void failForMissingSettings(flows::OnboardingStep::Completion completionHandler) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                   "network check: no usable backend URL in the settings parameters");
    dispatch::MainQueue::shared().async([completionHandler = std::move(completionHandler)] {
        completionHandler(flows::OnboardingResult::failed(flows::OnboardingError::missingArgument(
            flows::OnboardingInfoKey::zelvornSettingsParameters.rawValue(), NetworkCheckStep::kStepName)));
    });
}

}  // namespace

NetworkCheckStep::NetworkCheckStep() : SimpleTaskStep(&NetworkCheckStep::flowHandler) {}

void NetworkCheckStep::flowHandler(const flows::OnboardingContext& context, Completion completionHandler) {
    const auto* settings =
        context.infoValue<flows::ZELvornSettingsParameters>(flows::OnboardingInfoKey::zelvornSettingsParameters);
    pingTest(settings ? std::optional<std::string>(settings->backendURL) : std::nullopt, context,
             std::move(completionHandler));
}

void NetworkCheckStep::pingTest(const std::optional<std::string>& urlString, const flows::OnboardingContext& context,
                                Completion completionHandler) {
    if (!completionHandler) return;
    if (!urlString || !foundation::WebURL::isValid(*urlString))
        return failForMissingSettings(std::move(completionHandler));

    flows::URLSessionConfiguration configuration = flows::URLSessionConfiguration::defaultConfiguration();
    configuration.timeoutIntervalForRequest = kSessionRequestTimeout;
    auto session = std::make_shared<flows::ZELURLSession>(configuration);
    flows::URLRequest request(*urlString, kRequestTimeout, flows::URLRequest::CachePolicy::useProtocolCachePolicy);
    session
        ->dataTask(
            std::move(request),
            [context, completionHandler = std::move(completionHandler)](
                core::Data, std::optional<flows::HTTPURLResponse>, flows::ErrorPtr error) {
                if (error && error->code() == flows::URLError::notConnectedToInternet &&
                    error->domain() == flows::URLError::kDomain) {
                    const std::string text = error->localizedDescription();
                    core::SharedLoggerManager::log(kConsoleLogger, core::Severity::info, kPingFailedText + text);
                    NetworkCheckStepError::setNetworkErrorString(text);
                    completionHandler(flows::OnboardingResult::failed(NetworkCheckStepError::networkUnreachable()));
                    return;
                }
                completionHandler(flows::OnboardingResult::success(context));
            })
        ->resume();
}

}  // namespace trc::onboarding
