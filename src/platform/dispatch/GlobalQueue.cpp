#include "platform/dispatch/GlobalQueue.h"

#include <algorithm>
#include <chrono>

#include "platform/dispatch/MainQueue.h"

namespace trc::dispatch {

GlobalQueue& GlobalQueue::shared() {
    // Work hands its results to the main queue. Made first, that queue goes
    // last at exit, after this pool has joined its threads.
    MainQueue::shared();
    static GlobalQueue q;
    return q;
}

GlobalQueue::GlobalQueue(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { worker(); });
}

GlobalQueue::~GlobalQueue() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    work_.notify_all();
    for (auto& t : threads_) t.join();
}

void GlobalQueue::async(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(work));
        ++inFlight_;
    }
    work_.notify_one();
}

void GlobalQueue::beginActivity() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++inFlight_;
}

void GlobalQueue::endActivity() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (inFlight_ > 0) --inFlight_;
    }
    idle_.notify_all();
}

std::size_t GlobalQueue::inFlight() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inFlight_;
}

bool GlobalQueue::waitUntilIdle(double realSeconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto idle = [&] { return inFlight_ == 0; };
    // A huge wait would overflow the clock's time point: it means no deadline.
    constexpr double kForever = 365.0 * 24 * 3600;
    if (realSeconds >= kForever) {
        idle_.wait(lock, idle);
        return true;
    }
    if (!(realSeconds > 0)) return idle();  // none, negative or NaN: just look
    return idle_.wait_for(lock, std::chrono::duration<double>(realSeconds), idle);
}

void GlobalQueue::worker() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            work_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_ && queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        try {
            job();
        } catch (...) {
            // Background work reports its own failures through its completion;
            // an escaped exception must not take the pool down.
        }
        // What the work captured goes before it counts as done, so a waiter
        // that sees the queue idle never races with those destructors.
        job = nullptr;
        endActivity();
    }
}

}  // namespace trc::dispatch
