#pragma once
// One request of a URL session. Made suspended by ZELURLSession::dataTask;
// resume() applies the session's observers to the request (main thread) and
// sends it from a worker thread; the completion then runs exactly once on
// the main queue with the body, the response and an error (one of the last
// two is set). cancel() ends a running request with URLError -999.
//
// While a request runs it counts as activity of the global queue, so the
// host simulator waits for it before its next step.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "platform/core/Value.h"
#include "platform/flows/Error.h"
#include "platform/flows/HTTPURLResponse.h"
#include "platform/flows/URLRequest.h"

namespace trc::flows {

class ZELURLSession;

class URLSessionDataTask : public std::enable_shared_from_this<URLSessionDataTask> {
public:
    using Completion = std::function<void(core::Data, std::optional<HTTPURLResponse>, ErrorPtr)>;
    enum class State { suspended, running, canceling, completed };

    URLSessionDataTask(std::shared_ptr<ZELURLSession> session, URLRequest request, Completion completion);

    void resume();
    void cancel();
    State state() const { return state_.load(); }
    // The request as sent, after the observers changed it.
    const URLRequest& currentRequest() const { return request_; }

private:
    std::shared_ptr<ZELURLSession> session_;
    URLRequest request_;
    Completion completion_;
    std::atomic<State> state_{State::suspended};
    std::shared_ptr<std::atomic<bool>> cancelled_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace trc::flows
