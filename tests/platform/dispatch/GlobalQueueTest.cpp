#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"

using namespace trc::dispatch;

// The deadlines below only bound a wait for work that finishes at once; no
// test sleeps or depends on real time passing.
constexpr double kGenerous = 30.0;

class GlobalQueueWork : public ::testing::Test {
protected:
    void SetUp() override { MainQueue::resetShared(); }
    GlobalQueue pool{2};
};

TEST_F(GlobalQueueWork, CompletionsHopBackToTheMainQueue) {
    const auto mainThread = std::this_thread::get_id();
    std::thread::id workThread, completionThread;
    int result = 0;
    pool.async([&] {
        workThread = std::this_thread::get_id();
        MainQueue::shared().async([&] {
            completionThread = std::this_thread::get_id();
            result = 42;
        });
    });
    ASSERT_TRUE(pool.waitUntilIdle(kGenerous));
    EXPECT_NE(workThread, mainThread);
    EXPECT_EQ(result, 0);  // not before the main queue drains
    MainQueue::shared().runUntilIdle();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(completionThread, mainThread);
}

TEST_F(GlobalQueueWork, InFlightCountsQueuedWorkAndActivities) {
    std::atomic<bool> release{false};
    pool.async([&] {
        while (!release) std::this_thread::yield();
    });
    pool.beginActivity();
    EXPECT_EQ(pool.inFlight(), 2u);
    EXPECT_FALSE(pool.waitUntilIdle(0));
    release = true;
    pool.endActivity();
    EXPECT_TRUE(pool.waitUntilIdle(kGenerous));
    EXPECT_EQ(pool.inFlight(), 0u);
    pool.endActivity();  // an extra end never goes below zero
    EXPECT_EQ(pool.inFlight(), 0u);
}

TEST_F(GlobalQueueWork, AThrowingJobDoesNotStopThePool) {
    pool.async([] { throw std::runtime_error("boom"); });
    std::atomic<int> ran{0};
    pool.async([&] { ++ran; });
    ASSERT_TRUE(pool.waitUntilIdle(kGenerous));
    EXPECT_EQ(ran, 1);
}

// Idle must mean the work is fully gone, its captures included, so a test
// that checks for leaks or frees shared state right after the wait is safe.
TEST_F(GlobalQueueWork, CapturesAreReleasedBeforeTheQueueReportsIdle) {
    auto token = std::make_shared<int>(1);
    std::weak_ptr<int> watch = token;
    pool.async([token = std::move(token)] {});
    ASSERT_TRUE(pool.waitUntilIdle(kGenerous));
    EXPECT_TRUE(watch.expired());
}

TEST_F(GlobalQueueWork, NonFiniteWaitsDoNotOverflow) {
    EXPECT_TRUE(pool.waitUntilIdle(std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(pool.waitUntilIdle(std::numeric_limits<double>::quiet_NaN()));
}
