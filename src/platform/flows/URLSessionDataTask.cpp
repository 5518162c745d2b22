#include "platform/flows/URLSessionDataTask.h"

#include <thread>

#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/URLCache.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"

namespace trc::flows {

URLSessionDataTask::URLSessionDataTask(std::shared_ptr<ZELURLSession> session, URLRequest request,
                                       Completion completion)
    : session_(std::move(session)), request_(std::move(request)), completion_(std::move(completion)) {}

void URLSessionDataTask::resume() {
    State expected = State::suspended;
    if (!state_.compare_exchange_strong(expected, State::running)) return;
    request_ = session_->prepared(std::move(request_));
    auto self = shared_from_this();
    auto completion = std::move(completion_);
    completion_ = nullptr;

    if (request_.cachePolicy == URLRequest::CachePolicy::returnCacheDataElseLoad && request_.httpMethod == "GET") {
        if (auto cached = URLCache::shared().cachedResponse(request_.url)) {
            dispatch::MainQueue::shared().async([self, completion, cached] {
                self->state_ = State::completed;
                if (completion) completion(cached->data, cached->response, nullptr);
            });
            return;
        }
    }

    auto transport = session_->transport();
    auto configuration = session_->configuration();
    auto request = request_;
    auto cancelled = cancelled_;
    dispatch::GlobalQueue::shared().beginActivity();
    try {
        std::thread([self, transport, configuration, request, cancelled, completion] {
            URLTransport::Outcome outcome;
            try {
                outcome = transport->perform(request, configuration, *cancelled);
            } catch (...) {
                outcome = {};
                outcome.error = std::make_shared<URLError>(URLError::unknown);
            }
            if (!outcome.error && !outcome.response) outcome.error = std::make_shared<URLError>(URLError::badServerResponse);
            if (!outcome.error && request.httpMethod == "GET" &&
                request.cachePolicy != URLRequest::CachePolicy::reloadIgnoringLocalCacheData &&
                outcome.response->statusCode >= 200 && outcome.response->statusCode < 300)
                URLCache::shared().storeCachedResponse(request.url, {*outcome.response, outcome.body});
            dispatch::MainQueue::shared().async([self, completion, outcome] {
                self->state_ = State::completed;
                if (completion) completion(outcome.body, outcome.error ? std::nullopt : outcome.response, outcome.error);
            });
            dispatch::GlobalQueue::shared().endActivity();
        }).detach();
    } catch (const std::system_error&) {
        dispatch::GlobalQueue::shared().endActivity();
        dispatch::MainQueue::shared().async([self, completion] {
            self->state_ = State::completed;
            if (completion) completion({}, std::nullopt, std::make_shared<URLError>(URLError::unknown));
        });
    }
}

void URLSessionDataTask::cancel() {
    cancelled_->store(true);
    State expected = State::running;
    state_.compare_exchange_strong(expected, State::canceling);
}

}  // namespace trc::flows
