#pragma once
// The main queue: the one serial queue all UI work runs on.
//
// Work runs in order of its due time, and work due at the same time in the
// order it was scheduled. Any thread may schedule; the work itself runs on
// the thread that drains the queue (the main thread).
//
// The shared queue runs on the system clock (real time) unless the caller
// chooses otherwise: an application drains it with run() (or runUntilIdle()
// from its own loop) and its timers fire when their time comes. Tests, the
// host simulator and the benches choose a virtual clock with resetShared();
// under it nothing runs until runUntilIdle() or advance() is called.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <queue>
#include <vector>

#include "platform/dispatch/Clock.h"
#include "platform/dispatch/Timer.h"

namespace trc::dispatch {

class MainQueue {
public:
    using Work = std::function<void()>;

    // Made on first use, on the system clock.
    static MainQueue& shared();
    // A fresh shared queue on clock; without one, on a new clock of the kind
    // the queue had (a virtual one starts at 0). Work still queued is dropped.
    static void resetShared(std::unique_ptr<Clock> clock = nullptr);

    explicit MainQueue(std::unique_ptr<Clock> clock);

    void async(Work work);
    void asyncAfter(double delaySeconds, Work work);
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats, Timer::Body body, core::Value userInfo = {});

    double now() const { return clock_->now(); }
    bool isVirtual() const { return clock_->isVirtual(); }

    // Runs everything due now, including work that due work schedules for now.
    // Returns how many items ran.
    std::size_t runUntilIdle();
    // Virtual clock only: moves time forward by seconds, running each item
    // when its due time is reached, in order.
    void advance(double seconds);
    // True when work is due now.
    bool hasDueWork() const;
    std::size_t pendingCount() const;
    // Blocks the calling thread until work is scheduled or the real-time
    // deadline (seconds from now, system time) passes.
    void waitForWork(double realSeconds);

    // Real-time loop until stop().
    void run();
    void stop();

private:
    struct Item {
        double due;
        std::uint64_t seq;
        Work work;
    };
    struct Later {
        bool operator()(const Item& a, const Item& b) const { return a.due != b.due ? a.due > b.due : a.seq > b.seq; }
    };

    void schedule(double due, Work work);
    bool popDue(double limit, Item& out);
    void scheduleTimerFire(const std::shared_ptr<Timer>& timer);

    std::unique_ptr<Clock> clock_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::priority_queue<Item, std::vector<Item>, Later> items_;
    std::uint64_t nextSeq_ = 0;
    bool stopped_ = false;
};

}  // namespace trc::dispatch
