#include "onboarding/RelaunchProbe.h"

#include <memory>

#include "platform/core/ProcessState.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/foundation/WebURL.h"

namespace trc::onboarding {

namespace {

RelaunchProbe::Timeouts& current() {
    static RelaunchProbe::Timeouts timeouts;
    return timeouts;
}

}  // namespace

RelaunchProbe::Timeouts RelaunchProbe::timeouts() { return current(); }

void RelaunchProbe::setTimeouts(Timeouts timeouts) {
    core::ProcessState::registerReset("onboarding.RelaunchProbe", [] { current() = Timeouts{}; });
    current() = timeouts;
}

std::optional<std::string> RelaunchProbe::probeableURL(const core::Value* setting) {
    const std::string* text = setting ? setting->ifString() : nullptr;
    if (!text || !foundation::WebURL::isValid(*text)) return std::nullopt;
    return *text;
}

void RelaunchProbe::probe(const std::string& url, std::function<void(bool reachable)> completion) {
    const Timeouts limits = current();
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
