#pragma once
// Test helper for runs of the whole program on the injected threaded clock.
// That clock moves only with the test thread's own sleeps, so the shared
// shut-down deadline can run out while a slow worker (the render thread's
// last software-GL frame under a sanitizer) is still finishing a frame: the
// worker is then detached and still runs while the test takes the program
// apart. Installed as the shut-down's window-hiding hook, this hides the
// windows and then lets the workers end on their own, serving their window
// requests meanwhile, for at most a bound of real time; the deadline itself
// is tested apart (ShutdownDeadlineTest). A worker truly stuck still reaches
// the deadline and is reported as before.
#include <chrono>
#include <thread>

#include "platform/window/WindowClass.h"
#include "program/Startup.h"

inline void HideWindowsThenLetThreadsEnd() {
    WindowClass::HideAllWindows();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!ListedThreadsFinished() && std::chrono::steady_clock::now() < limit) {
        WindowClass::ServeWindowRequests();
        std::this_thread::yield();
    }
}
