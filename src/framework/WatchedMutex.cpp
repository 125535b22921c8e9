#include "framework/WatchedMutex.h"

#include <chrono>

namespace {
thread_local LockWaits threadWaits;
}

void WatchedMutex::lock() {
    if (inner.try_lock()) return;
    const auto start = std::chrono::steady_clock::now();
    waiting.fetch_add(1);
    inner.lock();
    waiting.fetch_sub(1);
    const auto ns = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count());
    count.fetch_add(1, std::memory_order_relaxed);
    totalNs.fetch_add(ns, std::memory_order_relaxed);
    std::uint64_t longest = longestNs.load(std::memory_order_relaxed);
    while (ns > longest && !longestNs.compare_exchange_weak(longest, ns, std::memory_order_relaxed)) {}
    ++threadWaits.count;
    threadWaits.totalNs += ns;
    if (ns > threadWaits.longestNs) threadWaits.longestNs = ns;
}

LockWaits WatchedMutex::Waits() const {
    LockWaits w;
    w.count = count.load(std::memory_order_relaxed);
    w.totalNs = totalNs.load(std::memory_order_relaxed);
    w.longestNs = longestNs.load(std::memory_order_relaxed);
    return w;
}

LockWaits WatchedMutex::ThisThreadWaits() { return threadWaits; }
void WatchedMutex::ResetThisThreadWaits() { threadWaits = LockWaits{}; }
