// A host that never touches the main queue's clock: a timer it sets fires in
// real time, once its interval has passed. A program of its own, since the
// unit tests choose a virtual clock before anything runs. A watchdog ends
// the wait after ten seconds, so a timer that never fires fails the test
// instead of hanging it.

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "platform/dispatch/MainQueue.h"

int main() {
    using namespace trc::dispatch;
    using Clock = std::chrono::steady_clock;
    constexpr double kInterval = 0.05;

    MainQueue& queue = MainQueue::shared();
    if (queue.isVirtual()) {
        std::cerr << "the main queue starts on a virtual clock\n";
        return 1;
    }
    bool fired = false;
    const Clock::time_point start = Clock::now();
    Clock::time_point firedAt;
    auto timer = queue.scheduleTimer(kInterval, false, [&](Timer&) {
        fired = true;
        firedAt = Clock::now();
        queue.stop();
    });

    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!done.wait_for(lock, std::chrono::seconds(10), [&] { return finished; })) queue.stop();
    });
    queue.run();
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    done.notify_all();
    watchdog.join();

    if (!fired) {
        std::cerr << "the timer did not fire within ten seconds\n";
        return 1;
    }
    const double waited = std::chrono::duration<double>(firedAt - start).count();
    if (waited < kInterval) {
        std::cerr << "the timer fired after " << waited << " s, before its interval\n";
        return 1;
    }
    std::cout << "the timer fired after " << waited << " s of real time\n";
    return 0;
}
