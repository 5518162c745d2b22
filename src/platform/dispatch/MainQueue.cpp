#include "platform/dispatch/MainQueue.h"

#include <algorithm>
#include <chrono>

namespace trc::dispatch {

namespace {
// A repeating timer of no interval would run forever within one turn.
constexpr double kMinRepeatInterval = 1e-4;

// Real-time waits are cut into slices no longer than this, so a far or
// non-finite due time never overflows the clock's time point.
double boundedWait(double seconds) { return seconds > 0 ? std::min(seconds, 3600.0) : 0.0; }

std::unique_ptr<MainQueue>& sharedSlot() {
    static std::unique_ptr<MainQueue> q;
    return q;
}
}  // namespace

MainQueue& MainQueue::shared() {
    auto& q = sharedSlot();
    if (!q) q = std::make_unique<MainQueue>(std::make_unique<SystemClock>());
    return *q;
}

void MainQueue::resetShared(std::unique_ptr<Clock> clock) {
    auto& q = sharedSlot();
    if (!clock) {
        if (q && q->isVirtual()) {
            clock = std::make_unique<VirtualClock>();
        } else {
            clock = std::make_unique<SystemClock>();
        }
    }
    q = std::make_unique<MainQueue>(std::move(clock));
}

MainQueue::MainQueue(std::unique_ptr<Clock> clock) : clock_(std::move(clock)) {}

void MainQueue::schedule(double due, Work work) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.push({due, nextSeq_++, std::move(work)});
    }
    wake_.notify_all();
}

void MainQueue::async(Work work) { schedule(clock_->now(), std::move(work)); }

void MainQueue::asyncAfter(double delaySeconds, Work work) {
    // A negative or NaN delay is no delay.
    schedule(clock_->now() + (delaySeconds > 0 ? delaySeconds : 0.0), std::move(work));
}

void MainQueue::scheduleTimerFire(const std::shared_ptr<Timer>& timer) {
    double interval = std::max(timer->interval(), timer->repeats() ? kMinRepeatInterval : 0.0);
    asyncAfter(interval, [this, timer] {
        if (!timer->isValid()) return;
        timer->fire();
        if (timer->repeats() && timer->isValid()) scheduleTimerFire(timer);
    });
}

std::shared_ptr<Timer> MainQueue::scheduleTimer(double interval, bool repeats, Timer::Body body, core::Value userInfo) {
    auto timer = std::make_shared<Timer>(interval, repeats, std::move(body), std::move(userInfo));
    scheduleTimerFire(timer);
    return timer;
}

bool MainQueue::popDue(double limit, Item& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (items_.empty() || items_.top().due > limit) return false;
    // priority_queue::top is const; the work is moved out before pop.
    out = std::move(const_cast<Item&>(items_.top()));
    items_.pop();
    return true;
}

std::size_t MainQueue::runUntilIdle() {
    std::size_t n = 0;
    Item item;
    while (popDue(clock_->now(), item)) {
        item.work();
        ++n;
    }
    return n;
}

void MainQueue::advance(double seconds) {
    auto* vc = dynamic_cast<VirtualClock*>(clock_.get());
    if (!vc) return;
    const double target = vc->now() + (seconds > 0 ? seconds : 0.0);
    runUntilIdle();
    Item item;
    while (popDue(target, item)) {
        if (item.due > vc->now()) vc->set(item.due);
        item.work();
    }
    vc->set(target);
    runUntilIdle();
}

bool MainQueue::hasDueWork() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !items_.empty() && items_.top().due <= clock_->now();
}

std::size_t MainQueue::pendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.size();
}

void MainQueue::waitForWork(double realSeconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto ready = [&] { return !items_.empty() && items_.top().due <= clock_->now(); };
    if (ready()) return;
    wake_.wait_for(lock, std::chrono::duration<double>(boundedWait(realSeconds)), ready);
}

void MainQueue::run() {
    for (;;) {
        runUntilIdle();
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopped_) {
            stopped_ = false;
            return;
        }
        if (items_.empty()) {
            wake_.wait(lock, [&] { return !items_.empty() || stopped_; });
        } else {
            double wait = items_.top().due - clock_->now();
            if (wait > 0) wake_.wait_for(lock, std::chrono::duration<double>(boundedWait(wait)));
        }
    }
}

void MainQueue::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

}  // namespace trc::dispatch
