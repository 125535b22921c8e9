#pragma once
// Test helper: an injected millisecond clock for code that runs on several
// threads at once. A sleep advances the shared clock and gives the processor
// to the other threads, so loops paced by time run without waiting on real
// time.
#include <atomic>
#include <cstdint>
#include <thread>

#include "framework/Time.h"

class ThreadedFakeClock {
public:
    ThreadedFakeClock() {
        now.store(1000);
        oldClock = SetClockFunction([] { return now.load(); });
        oldSleep = SetSleepFunction([](std::uint32_t ms) {
            now.fetch_add(ms);
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

private:
    ClockFunction oldClock;
    SleepFunction oldSleep;
    std::uint32_t oldStart;
};
