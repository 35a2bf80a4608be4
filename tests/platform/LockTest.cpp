#include "platform/Lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

// Whether another thread gets the lock while this one holds it. The other
// thread is given a moment to take it: a lock that excludes nobody lets it in
// within that time, while a sound lock keeps it out however long it waits, so
// the answer is never wrong for a sound lock.
bool otherThreadGetsIn(platform::Lock& lock) {
    std::atomic<bool> started{false};
    std::atomic<bool> acquired{false};
    std::thread other([&] {
        started = true;
        std::lock_guard guard(lock);
        acquired = true;
    });
    while (!started) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const bool gotIn = acquired;
    lock.unlock();  // the caller's hold ends here, so that the other thread can finish
    other.join();
    return gotIn;
}

}  // namespace

// The text renderer takes its lock again inside calls that already hold it: the
// inner release must not free the lock while the outer hold lasts.
TEST(Lock, HolderMayTakeItAgainAndStillExcludesOthers) {
    platform::Lock lock;
    lock.lock();
    lock.lock();
    lock.unlock();
    EXPECT_FALSE(otherThreadGetsIn(lock));
    // After the last release another thread may have it.
    std::lock_guard again(lock);
}

// Two threads counting under the lock, taking it twice per step, lose no step.
// Each step reads, gives way and writes back, so that a lock that lets both in
// loses steps at once.
TEST(Lock, KeepsCountingThreadsApart) {
    platform::Lock lock;
    constexpr int stepsPerThread = 20000;
    long long count = 0;  // plain, so that only the lock keeps the steps whole
    std::atomic<int> ready{0};
    const auto countUp = [&] {
        ++ready;
        while (ready < 2) {
            std::this_thread::yield();
        }
        for (int i = 0; i < stepsPerThread; ++i) {
            std::lock_guard outer(lock);
            std::lock_guard inner(lock);
            const long long seen = count;
            std::this_thread::yield();
            count = seen + 1;
        }
    };
    std::thread first(countUp);
    std::thread second(countUp);
    first.join();
    second.join();
    EXPECT_EQ(count, 2LL * stepsPerThread);
}
