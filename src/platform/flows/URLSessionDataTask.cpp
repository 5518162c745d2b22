#include "platform/flows/URLSessionDataTask.h"

#include <iterator>
#include <list>
#include <mutex>
#include <thread>

#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/URLCache.h"
#include "platform/flows/URLError.h"
#include "platform/flows/ZELURLSession.h"

namespace trc::flows {

namespace {

// The threads of the requests that run. None outlives what it uses: this is
// made after the global queue, the main queue and the URL cache, so at exit
// it goes first, cancelling the requests still running and waiting for
// their threads. Threads that ended are joined when the next one starts.
class RunningRequests {
public:
    static RunningRequests& shared() {
        dispatch::GlobalQueue::shared();
        dispatch::MainQueue::shared();
        URLCache::shared();
        static RunningRequests requests;
        return requests;
    }

    RunningRequests() = default;
    RunningRequests(const RunningRequests&) = delete;
    RunningRequests& operator=(const RunningRequests&) = delete;

    ~RunningRequests() {
        std::list<Entry> running;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (Entry& entry : entries_) entry.cancelled->store(true);
            running.swap(entries_);
        }
        for (Entry& entry : running) {
            if (entry.thread.joinable()) entry.thread.join();
        }
    }

    // Runs work on a thread of its own, which ends the global queue's activity
    // the caller began once what work captured is gone; cancelled is set if the
    // process ends first.
    void start(std::shared_ptr<std::atomic<bool>> cancelled, std::function<void()> work) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (it->ended) {
                it->thread.join();
                it = entries_.erase(it);
            } else {
                ++it;
            }
        }
        auto entry = entries_.insert(entries_.end(), Entry{{}, std::move(cancelled), false});
        try {
            entry->thread = std::thread([this, entry, work = std::move(work)]() mutable {
                work();
                work = nullptr;
                dispatch::GlobalQueue::shared().endActivity();
                std::lock_guard<std::mutex> ending(mutex_);
                entry->ended = true;
            });
        } catch (...) {
            entries_.erase(entry);
            throw;
        }
    }

private:
    struct Entry {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> cancelled;
        bool ended;
    };
    std::mutex mutex_;
    std::list<Entry> entries_;
};

}  // namespace

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
    RunningRequests& running = RunningRequests::shared();
    dispatch::GlobalQueue::shared().beginActivity();
    try {
        running.start(cancelled, [self, transport, configuration, request, cancelled, completion] {
            URLTransport::Outcome outcome;
            try {
                outcome = transport->perform(request, configuration, *cancelled);
            } catch (...) {
                outcome = {};
                outcome.error = std::make_shared<URLError>(URLError::unknown);
            }
            if (!outcome.error && !outcome.response)
                outcome.error = std::make_shared<URLError>(URLError::badServerResponse);
            if (!outcome.error && request.httpMethod == "GET" &&
                request.cachePolicy != URLRequest::CachePolicy::reloadIgnoringLocalCacheData &&
                outcome.response->statusCode >= 200 && outcome.response->statusCode < 300)
                URLCache::shared().storeCachedResponse(request.url, {*outcome.response, outcome.body});
            dispatch::MainQueue::shared().async([self, completion, outcome] {
                self->state_ = State::completed;
                if (completion)
                    completion(outcome.body, outcome.error ? std::nullopt : outcome.response, outcome.error);
            });
        });
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
