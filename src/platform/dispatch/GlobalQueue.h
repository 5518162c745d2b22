#pragma once
// The global queue: background work on a small pool of threads. Its
// completions hand results back with MainQueue::shared().async.
//
// Work that runs elsewhere (a URL transfer on its own thread) counts itself
// in with beginActivity()/endActivity(), so the host simulator can wait until
// all background work has finished before its next step.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace trc::dispatch {

class GlobalQueue {
public:
    static GlobalQueue& shared();

    explicit GlobalQueue(unsigned threads = 4);
    ~GlobalQueue();
    GlobalQueue(const GlobalQueue&) = delete;
    GlobalQueue& operator=(const GlobalQueue&) = delete;

    void async(std::function<void()> work);

    void beginActivity();
    void endActivity();
    // Work queued, running, or counted in; zero when all is quiet.
    std::size_t inFlight() const;
    // Waits until nothing is in flight or the deadline passes; true when idle.
    bool waitUntilIdle(double realSeconds);

private:
    void worker();

    mutable std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::thread> threads_;
    std::size_t inFlight_ = 0;
    bool stopping_ = false;
};

}  // namespace trc::dispatch
