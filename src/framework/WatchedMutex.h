#pragma once
// A re-entrant lock that keeps count of the time its callers wait for it.
// Taking it when it is free (or held by the caller) costs one try; only a
// caller that has to wait reads the clock. The figures serve the frame-time
// benchmark and the tests that check a thread never waits on another's turn.
#include <atomic>
#include <cstdint>
#include <mutex>

struct LockWaits {
    std::uint64_t count = 0;      // waits (takings that found the lock held elsewhere)
    std::uint64_t totalNs = 0;    // time spent in them
    std::uint64_t longestNs = 0;  // the longest of them
};

class WatchedMutex {
public:
    WatchedMutex() = default;
    WatchedMutex(const WatchedMutex&) = delete;
    WatchedMutex& operator=(const WatchedMutex&) = delete;

    void lock();
    bool try_lock() { return inner.try_lock(); }
    void unlock() { inner.unlock(); }

    // Every wait for this lock so far, by any thread.
    LockWaits Waits() const;
    // Callers blocked on the lock right now.
    int Waiting() const { return waiting.load(); }
    // The waits the calling thread has made for any watched lock.
    static LockWaits ThisThreadWaits();
    static void ResetThisThreadWaits();

private:
    std::recursive_mutex inner;
    std::atomic<int> waiting{0};
    std::atomic<std::uint64_t> count{0}, totalNs{0}, longestNs{0};
};
