#pragma once
// A URL session: makes data tasks with its configuration, runs every request
// past its registered observers first (which may change it: add a header,
// say), and sends it through its transport (libcurl unless injected).
// Completions run on the main queue.
//
// An Object, so that the application configuration can hold it. Main thread.

#include <memory>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "platform/flows/URLSessionConfiguration.h"
#include "platform/flows/URLSessionDataTask.h"
#include "platform/flows/URLTransport.h"
#include "platform/flows/ZELURLSessionObserving.h"

namespace trc::flows {

class ZELURLSession : public core::Object {
    TRC_OBJECT(ZELURLSession)
public:
    explicit ZELURLSession(URLSessionConfiguration configuration = URLSessionConfiguration::defaultConfiguration(),
                           std::shared_ptr<URLTransport> transport = nullptr);

    const URLSessionConfiguration& configuration() const { return configuration_; }
    const std::shared_ptr<URLTransport>& transport() const { return transport_; }

    // Registering the same observer object again changes nothing.
    void registerObserver(std::shared_ptr<ZELURLSessionObserving> observer);
    void unregisterObserver(const std::shared_ptr<ZELURLSessionObserving>& observer);
    const std::vector<std::shared_ptr<ZELURLSessionObserving>>& observers() const { return observers_; }
    // The request as the observers leave it.
    URLRequest prepared(URLRequest request) const;

    // A suspended task; call resume() on it.
    std::shared_ptr<URLSessionDataTask> dataTask(URLRequest request, URLSessionDataTask::Completion completion);

    // The transport of sessions made without one (libcurl).
    static std::shared_ptr<URLTransport> defaultTransport();

private:
    URLSessionConfiguration configuration_;
    std::shared_ptr<URLTransport> transport_;
    std::vector<std::shared_ptr<ZELURLSessionObserving>> observers_;
};

}  // namespace trc::flows
