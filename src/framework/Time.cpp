#include "framework/Time.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<ClockFunction> clockFn{nullptr};
std::atomic<SleepFunction> sleepFn{nullptr};
std::atomic<std::uint32_t> startTimeStamp{0};

std::uint32_t RealClock() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

std::uint32_t SystemTimeMs() {
    ClockFunction fn = clockFn.load(std::memory_order_acquire);
    return fn ? fn() : RealClock();
}

std::uint32_t TimeGetTime() { return SystemTimeMs() - startTimeStamp.load(std::memory_order_relaxed); }

void SleepMs(std::uint32_t ms) {
    SleepFunction fn = sleepFn.load(std::memory_order_acquire);
    if (fn) {
        fn(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t PerformanceCounter() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetStartTimeStamp(std::uint32_t systemMs) { startTimeStamp.store(systemMs); }
std::uint32_t GetStartTimeStamp() { return startTimeStamp.load(); }

ClockFunction SetClockFunction(ClockFunction clock) { return clockFn.exchange(clock); }
SleepFunction SetSleepFunction(SleepFunction sleep) { return sleepFn.exchange(sleep); }
