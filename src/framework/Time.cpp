#include "framework/Time.h"

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

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

bool AskForPromptWakeUps() {
    // The shortest turn the system grants a thread of the ordinary policy.
    constexpr std::uint64_t kShortTurnNs = 100000;
    // The thread's own settings (its policy and nice value) are kept: only
    // the length of its turns changes. The C library of older systems has
    // no wrapper for these two calls.
    // The kernel's scheduling attributes (their first version, with the
    // utilisation bounds of the second).
    struct {
        std::uint32_t size, policy;
        std::uint64_t flags;
        std::int32_t nice;
        std::uint32_t priority;
        std::uint64_t runtime, deadline, period;
        std::uint32_t utilMin, utilMax;
    } attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0) return false;
    if (attr.policy != SCHED_OTHER) return false;
    // Threads and programs it starts (a compiler run) get the usual turns.
    constexpr std::uint64_t kResetOnFork = 0x01;
    attr.size = sizeof attr;
    attr.flags = kResetOnFork;
    attr.runtime = kShortTurnNs;
    return syscall(SYS_sched_setattr, 0, &attr, 0) == 0;
}

std::int64_t PerformanceCounter() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetStartTimeStamp(std::uint32_t systemMs) { startTimeStamp.store(systemMs); }
std::uint32_t GetStartTimeStamp() { return startTimeStamp.load(); }

ClockFunction SetClockFunction(ClockFunction clock) { return clockFn.exchange(clock); }
SleepFunction SetSleepFunction(SleepFunction sleep) { return sleepFn.exchange(sleep); }
