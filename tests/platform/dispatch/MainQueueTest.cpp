#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/dispatch/MainQueue.h"

using namespace trc::dispatch;

// Each test runs on a fresh main queue over a virtual clock at 0 and records
// what ran as "name@time" entries.
class MainQueueVirtualTime : public ::testing::Test {
protected:
    void SetUp() override { MainQueue::resetShared(); }
    MainQueue& q() { return MainQueue::shared(); }
    MainQueue::Work note(std::string what) {
        return [this, what] { log += (log.empty() ? "" : " ") + what + "@" + fmt(q().now()); };
    }
    static std::string fmt(double t) {
        std::string s = std::to_string(std::round(t * 1000) / 1000);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
        return s;
    }
    std::string log;
};

TEST_F(MainQueueVirtualTime, NothingRunsUntilTheQueueIsDrained) {
    q().async(note("a"));
    EXPECT_EQ(log, "");
    EXPECT_TRUE(q().hasDueWork());
    EXPECT_EQ(q().runUntilIdle(), 1u);
    EXPECT_EQ(log, "a@0");
    EXPECT_FALSE(q().hasDueWork());
}

TEST_F(MainQueueVirtualTime, DueWorkRunsByTimeThenBySchedulingOrder) {
    q().asyncAfter(2, note("late"));
    q().asyncAfter(1, note("b1"));
    q().async(note("now"));
    q().asyncAfter(1, note("b2"));
    q().asyncAfter(1, note("b3"));
    q().advance(5);
    EXPECT_EQ(log, "now@0 b1@1 b2@1 b3@1 late@2");
    EXPECT_EQ(q().now(), 5);
}

TEST_F(MainQueueVirtualTime, RunUntilIdleRunsWorkScheduledByWorkButNotFutureWork) {
    q().async([this] {
        note("outer")();
        q().async(note("inner"));
        q().asyncAfter(0.5, note("later"));
    });
    EXPECT_EQ(q().runUntilIdle(), 2u);
    EXPECT_EQ(log, "outer@0 inner@0");
    EXPECT_EQ(q().pendingCount(), 1u);
    EXPECT_EQ(q().now(), 0);
}

TEST_F(MainQueueVirtualTime, AdvanceRunsEachItemAtItsOwnDueTime) {
    q().asyncAfter(1, [this] {
        note("first")();
        q().asyncAfter(0.5, note("chained"));  // due at 1.5, inside the window
        q().async(note("same-time"));
    });
    q().asyncAfter(3, note("outside"));
    q().advance(2);
    EXPECT_EQ(log, "first@1 same-time@1 chained@1.5");
    EXPECT_EQ(q().now(), 2);
    q().advance(1);
    EXPECT_EQ(log, "first@1 same-time@1 chained@1.5 outside@3");
}

TEST_F(MainQueueVirtualTime, NegativeOrNaNDelayMeansNow) {
    q().asyncAfter(-3, note("neg"));
    q().asyncAfter(std::nan(""), note("nan"));
    q().advance(std::nan(""));
    EXPECT_EQ(log, "neg@0 nan@0");
    EXPECT_EQ(q().now(), 0);
}

TEST_F(MainQueueVirtualTime, OneShotTimerFiresOnceWithItsUserInfo) {
    trc::core::Value seen;
    auto t = q().scheduleTimer(
        1, false, [&](Timer& timer) { seen = timer.userInfo(); }, trc::core::Value("info"));
    EXPECT_TRUE(t->isValid());
    q().advance(0.99);
    EXPECT_TRUE(seen.isNil());
    q().advance(0.01);
    EXPECT_EQ(seen, trc::core::Value("info"));
    EXPECT_FALSE(t->isValid());
    EXPECT_EQ(q().pendingCount(), 0u);
}

TEST_F(MainQueueVirtualTime, RepeatingTimerFiresEveryIntervalUntilInvalidated) {
    int fired = 0;
    auto t = q().scheduleTimer(0.3, true, [&](Timer&) { ++fired; });
    q().advance(1.0);
    EXPECT_EQ(fired, 3);  // 0.3, 0.6, 0.9
    t->invalidate();
    q().advance(5);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(q().pendingCount(), 0u);
}

TEST_F(MainQueueVirtualTime, TimerMayInvalidateItselfFromItsBody) {
    int fired = 0;
    q().scheduleTimer(0.3, true, [&](Timer& t) {
        if (++fired == 2) t.invalidate();
    });
    q().advance(10);
    EXPECT_EQ(fired, 2);
}

TEST_F(MainQueueVirtualTime, ZeroIntervalTimerFiresOnTheNextDrainNeverAtOnce) {
    int fired = 0;
    q().scheduleTimer(0, false, [&](Timer&) { ++fired; });
    EXPECT_EQ(fired, 0);
    q().runUntilIdle();
    EXPECT_EQ(fired, 1);
}

TEST_F(MainQueueVirtualTime, ZeroIntervalRepeatingTimerCannotSpinForever) {
    int fired = 0;
    auto t = q().scheduleTimer(0, true, [&](Timer&) { ++fired; });
    q().runUntilIdle();  // returns: the repeat is pushed to a small positive interval
    EXPECT_EQ(fired, 0);
    q().advance(0.001);
    EXPECT_GE(fired, 9);
    EXPECT_LE(fired, 10);
    t->invalidate();
}

TEST_F(MainQueueVirtualTime, ResetDropsQueuedWork) {
    q().asyncAfter(1, note("dropped"));
    MainQueue::resetShared();
    q().advance(2);
    EXPECT_EQ(log, "");
}

TEST(MainQueueRealTime, RunDrainsUntilStopped) {
    MainQueue::resetShared(std::make_unique<SystemClock>());
    MainQueue& q = MainQueue::shared();
    EXPECT_FALSE(q.isVirtual());
    std::string log;
    q.async([&] { log += "a"; });
    q.asyncAfter(0.01, [&] {
        log += "b";
        q.stop();
    });
    q.run();
    EXPECT_EQ(log, "ab");
    MainQueue::resetShared(std::make_unique<VirtualClock>());
}

// Fixtures reset the queue without naming a clock; the kind the process
// chose stays, on a fresh clock.
TEST(MainQueueReset, WithoutAClockKeepsTheKindOfClockTheQueueHad) {
    MainQueue::resetShared(std::make_unique<VirtualClock>(500));
    MainQueue::resetShared();
    EXPECT_TRUE(MainQueue::shared().isVirtual());
    EXPECT_EQ(MainQueue::shared().now(), 0);
    MainQueue::resetShared(std::make_unique<SystemClock>());
    MainQueue::resetShared();
    EXPECT_FALSE(MainQueue::shared().isVirtual());
    MainQueue::resetShared(std::make_unique<VirtualClock>());
}
