#pragma once
#include <cstdint>

// The program's millisecond clock. The system clock is steady_clock as a
// wrapping 32-bit millisecond count; TimeGetTime counts from StartTimeStamp.
// Tests inject their own clock and sleep so that nothing waits on real time.

using ClockFunction = std::uint32_t (*)();
using SleepFunction = void (*)(std::uint32_t ms);

// Raw system milliseconds (wraps with 32 bits).
std::uint32_t SystemTimeMs();
// Milliseconds since StartTimeStamp, unsigned, wrapping.
std::uint32_t TimeGetTime();
// Sleeps for the given milliseconds (through the injected sleep, if any).
void SleepMs(std::uint32_t ms);
// Asks the system to wake the calling thread promptly from its sleeps even
// while every processor is busy: the thread is given short turns, so that its
// waking does not wait for another thread's turn to end. For a thread that
// sleeps out most of each frame; its share of the processors is unchanged.
// Where the system knows no such request, nothing changes. True when taken.
bool AskForPromptWakeUps();
// High-resolution ticks (nanoseconds) and their frequency.
std::int64_t PerformanceCounter();
constexpr std::int64_t PerformanceFrequency = 1000000000;

// Set once by start-up: the system time that TimeGetTime counts from.
void SetStartTimeStamp(std::uint32_t systemMs);
std::uint32_t GetStartTimeStamp();

// Replace the system clock / sleep (null restores the real ones). Returns the previous.
ClockFunction SetClockFunction(ClockFunction clock);
SleepFunction SetSleepFunction(SleepFunction sleep);
