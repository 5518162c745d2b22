#pragma once
// A timer on the main queue: fires once, or every interval until invalidated.
// Made by MainQueue::scheduleTimer; the queue holds it while it is valid.

#include <functional>
#include <memory>

#include "platform/core/Value.h"

namespace trc::dispatch {

class Timer {
public:
    using Body = std::function<void(Timer&)>;

    Timer(double interval, bool repeats, Body body, core::Value userInfo)
        : interval_(interval), repeats_(repeats), body_(std::move(body)), userInfo_(std::move(userInfo)) {}

    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_; }
    double interval() const { return interval_; }
    bool repeats() const { return repeats_; }
    const core::Value& userInfo() const { return userInfo_; }
    void fire();

private:
    double interval_;
    bool repeats_;
    bool valid_ = true;
    Body body_;
    core::Value userInfo_;
};

}  // namespace trc::dispatch
