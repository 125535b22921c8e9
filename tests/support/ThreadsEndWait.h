#pragma once
// Test helper for runs of the whole program on the injected threaded clock.
// That clock moves only with the test thread's own sleeps, so the shared
// shut-down deadline measures how fast the test's thread waits, not how far
// the workers got: on a loaded machine it can run out while a worker that
// has been given little processor time (the input thread between two polls,
// the render thread's last software-GL frame under a sanitizer) is still on
// its way to its end. That worker is then reported as stuck and detached,
// and still runs while the test takes the program apart. Installed as the
// shut-down's window-hiding hook, these let the workers end on their own
// first, for at most a bound of real time; the deadline itself is tested
// apart (ShutdownDeadlineTest). A worker truly stuck still reaches the
// deadline and is reported as before.
#include <chrono>
#include <thread>

#include "platform/window/WindowClass.h"
#include "program/Startup.h"

// Waits until every listed worker has ended (at most two minutes of real
// time), running serve, when given, between the looks: the window
// requests a worker may wait on.
inline void LetThreadsEnd(void (*serve)() = nullptr) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!ListedThreadsFinished() && std::chrono::steady_clock::now() < limit) {
        if (serve != nullptr) serve();
        std::this_thread::yield();
    }
}

// The same for a program with windows: they are hidden first, and their
// requests served while the workers end.
inline void HideWindowsThenLetThreadsEnd() {
    WindowClass::HideAllWindows();
    LetThreadsEnd(&WindowClass::ServeWindowRequests);
}
