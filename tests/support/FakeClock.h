#pragma once
// Test helper: an injected millisecond clock whose sleeps advance it, so code
// that paces itself by time runs without waiting.
#include <atomic>
#include <cstdint>
#include <vector>

#include "framework/Time.h"

class FakeClock {
public:
    FakeClock() {
        now.store(1000);
        sleeps.clear();
        oldClock = SetClockFunction([] { return now.load(); });
        oldSleep = SetSleepFunction([](std::uint32_t ms) {
            sleeps.push_back(ms);
            now.fetch_add(ms);
        });
        oldStart = GetStartTimeStamp();
        SetStartTimeStamp(0);
    }
    ~FakeClock() {
        SetClockFunction(oldClock);
        SetSleepFunction(oldSleep);
        SetStartTimeStamp(oldStart);
    }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Advance(std::uint32_t ms) { now.fetch_add(ms); }
    void Set(std::uint32_t ms) { now.store(ms); }

    static inline std::atomic<std::uint32_t> now{0};
    static inline std::vector<std::uint32_t> sleeps;

private:
    ClockFunction oldClock;
    SleepFunction oldSleep;
    std::uint32_t oldStart;
};
