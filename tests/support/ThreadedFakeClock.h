#pragma once
// Test helper: an injected millisecond clock for code that runs on several
// threads at once. Only the sleeps of the thread that made the clock (the
// test's, which runs the main loop) advance it; every sleep gives the
// processor to the other threads. So loops paced by time run without waiting
// on real time, and a deadline the test's thread measures is used up only by
// its own waiting, however busy the other threads are.
#include <atomic>
#include <cstdint>
#include <thread>

#include "framework/Time.h"

class ThreadedFakeClock {
public:
    ThreadedFakeClock() {
        now.store(1000);
        oldClock = SetClockFunction([] { return now.load(); });
        owner = std::this_thread::get_id();
        oldSleep = SetSleepFunction([](std::uint32_t ms) {
            if (std::this_thread::get_id() == owner.load()) now.fetch_add(ms);
            // Enough turns for the other threads to make progress in the
            // meantime, however busy the machine.
            for (int i = 0; i < 50; ++i) std::this_thread::yield();
        });
        oldStart = GetStartTimeStamp();
    }
    ~ThreadedFakeClock() {
        SetClockFunction(oldClock);
        SetSleepFunction(oldSleep);
        SetStartTimeStamp(oldStart);
    }
    ThreadedFakeClock(const ThreadedFakeClock&) = delete;
    ThreadedFakeClock& operator=(const ThreadedFakeClock&) = delete;

    static inline std::atomic<std::uint32_t> now{0};
    static inline std::atomic<std::thread::id> owner{};

private:
    ClockFunction oldClock;
    SleepFunction oldSleep;
    std::uint32_t oldStart;
};
