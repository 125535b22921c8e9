#pragma once
// Waiting for what another thread or process makes true: polled, bounded in
// real time, never a fixed sleep standing in for the wait.
#include <chrono>
#include <thread>

namespace testsupport {

// Polls condition every `poll` (a bare yield when zero) until it holds or
// `limit` has passed; true when it held. The last look comes after the
// limit, so a condition made true just in time still counts.
template <class F>
bool WaitFor(F&& condition, std::chrono::steady_clock::duration limit = std::chrono::seconds(10),
             std::chrono::steady_clock::duration poll = std::chrono::milliseconds(1)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        if (poll > std::chrono::steady_clock::duration::zero())
            std::this_thread::sleep_for(poll);
        else
            std::this_thread::yield();
    }
    return condition();
}

}  // namespace testsupport
