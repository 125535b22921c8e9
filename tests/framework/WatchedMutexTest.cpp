#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "framework/WatchedMutex.h"

// A taking that finds the lock free, or held by the caller already, is no
// wait; one that finds it held by another thread counts for the lock and for
// the waiting thread alone.
TEST(WatchedMutex, CountsOnlyTakingsThatFindTheLockHeldElsewhere) {
    WatchedMutex lock;
    WatchedMutex::ResetThisThreadWaits();
    {
        std::lock_guard<WatchedMutex> outer(lock);
        std::lock_guard<WatchedMutex> inner(lock);  // re-entrant
    }
    EXPECT_EQ(lock.Waits().count, 0u);

    std::atomic<bool> held{false};
    LockWaits waiterSaw;
    lock.lock();
    std::thread waiter([&] {
        WatchedMutex::ResetThisThreadWaits();
        held.wait(false);
        std::lock_guard<WatchedMutex> hold(lock);
        waiterSaw = WatchedMutex::ThisThreadWaits();
    });
    held.store(true);
    held.notify_one();
    while (lock.Waiting() == 0) std::this_thread::yield();
    lock.unlock();
    waiter.join();
    EXPECT_EQ(lock.Waits().count, 1u);
    EXPECT_EQ(waiterSaw.count, 1u);
    EXPECT_EQ(waiterSaw.longestNs, lock.Waits().longestNs);
    EXPECT_EQ(WatchedMutex::ThisThreadWaits().count, 0u);
}
