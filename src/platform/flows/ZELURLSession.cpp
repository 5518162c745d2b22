#include "platform/flows/ZELURLSession.h"

#include <algorithm>

#include "platform/flows/internal/DefaultTransport.h"

namespace trc::flows {

const core::ClassInfo& ZELURLSession::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<ZELURLSession>("ZELURLSession", core::Object::classInfo())
            .property("observerCount",
                      [](const ZELURLSession& s) { return core::Value(static_cast<long long>(s.observers_.size())); })
            .build();
    return info;
}

ZELURLSession::ZELURLSession(URLSessionConfiguration configuration, std::shared_ptr<URLTransport> transport)
    : configuration_(configuration), transport_(transport ? std::move(transport) : defaultTransport()) {}

void ZELURLSession::registerObserver(std::shared_ptr<ZELURLSessionObserving> observer) {
    if (!observer || std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) return;
    observers_.push_back(std::move(observer));
}

void ZELURLSession::unregisterObserver(const std::shared_ptr<ZELURLSessionObserving>& observer) {
    std::erase(observers_, observer);
}

URLRequest ZELURLSession::prepared(URLRequest request) const {
    for (const auto& o : observers_) o->prepare(request);
    return request;
}

std::shared_ptr<URLSessionDataTask> ZELURLSession::dataTask(URLRequest request,
                                                            URLSessionDataTask::Completion completion) {
    return std::make_shared<URLSessionDataTask>(std::static_pointer_cast<ZELURLSession>(shared_from_this()),
                                                std::move(request), std::move(completion));
}

std::shared_ptr<URLTransport> ZELURLSession::defaultTransport() { return internal::DefaultTransport::current(); }

}  // namespace trc::flows
