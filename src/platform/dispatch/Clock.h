#pragma once
// The time the main queue runs on, in seconds. A virtual clock moves only when
// told to (tests and the host simulator); the system clock is real time.

#include <atomic>
#include <memory>

namespace trc::dispatch {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    virtual bool isVirtual() const = 0;
};

// Atomic because other threads read the time when they schedule main-queue
// work (a background completion's async) while the main thread moves it.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(double start = 0) : now_(start) {}
    double now() const override { return now_.load(std::memory_order_acquire); }
    bool isVirtual() const override { return true; }
    void set(double t) { now_.store(t, std::memory_order_release); }

private:
    std::atomic<double> now_;
};

class SystemClock : public Clock {
public:
    double now() const override;
    bool isVirtual() const override { return false; }
};

}  // namespace trc::dispatch
