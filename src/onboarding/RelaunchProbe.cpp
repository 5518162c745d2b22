#include "onboarding/RelaunchProbe.h"

#include <memory>

#include "onboarding/internal/RelaunchProbeTimeouts.h"

#include "platform/flows/ZELURLSession.h"
#include "platform/foundation/WebURL.h"

namespace trc::onboarding {

std::optional<std::string> RelaunchProbe::probeableURL(const core::Value* setting) {
    const std::string* text = setting ? setting->ifString() : nullptr;
    if (!text || !foundation::WebURL::isValid(*text)) return std::nullopt;
    return *text;
}

void RelaunchProbe::probe(const std::string& url, std::function<void(bool reachable)> completion) {
    const internal::RelaunchProbeTimeouts limits = internal::RelaunchProbeTimeouts::current();
    flows::URLSessionConfiguration configuration = flows::URLSessionConfiguration::defaultConfiguration();
    configuration.timeoutIntervalForRequest = limits.sessionRequest;
    auto session = std::make_shared<flows::ZELURLSession>(configuration);
    flows::URLRequest request(url, limits.request, flows::URLRequest::CachePolicy::useProtocolCachePolicy);
    session
        ->dataTask(std::move(request),
                   [completion = std::move(completion)](core::Data, std::optional<flows::HTTPURLResponse>,
                                                        flows::ErrorPtr error) {
                       if (completion) completion(!error);
                   })
        ->resume();
}

}  // namespace trc::onboarding
