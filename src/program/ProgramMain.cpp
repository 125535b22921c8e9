// The main thread: the start-up window, the window loop, and the orderly end
// within one shared deadline.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <mutex>
#include <vector>

#include "framework/Fatal.h"
#include "framework/Framerate.h"
#include "framework/Profiler.h"
#include "framework/Quit.h"
#include "framework/Time.h"
#include "networking/NetEngine.h"
#include "platform/input/Input.h"
#include "platform/sound/SoundEngine.h"
#include "platform/window/WindowClass.h"
#include "program/Startup.h"

namespace {

// The threads the main thread waits for at exit, in the order they started.
std::mutex threadListLock;
std::vector<ThreadHandle> ThreadHandleList;

// All worker threads together get this long from the end of the window loop.
constexpr std::uint32_t kShutdownBudgetMs = 3000;

}  // namespace

void AddThreadHandle(ThreadHandle handle) {
    std::lock_guard<std::mutex> hold(threadListLock);
    ThreadHandleList.push_back(std::move(handle));
}

std::size_t ThreadHandleCount() {
    std::lock_guard<std::mutex> hold(threadListLock);
    return ThreadHandleList.size();
}

bool ListedThreadsFinished() {
    std::lock_guard<std::mutex> hold(threadListLock);
    return std::all_of(ThreadHandleList.begin(), ThreadHandleList.end(),
                       [](const ThreadHandle& handle) { return handle.finished(); });
}

bool WaitForThreads(std::uint32_t budgetMs, void (*whileWaiting)()) {
    std::vector<ThreadHandle> handles;
    {
        std::lock_guard<std::mutex> hold(threadListLock);
        handles.swap(ThreadHandleList);
    }
    const std::uint32_t end = TimeGetTime() + budgetMs;
    bool allEnded = true;
    for (ThreadHandle& handle : handles) {
        const std::uint32_t start = TimeGetTime();
        // What is left of the shared deadline, but at least 1 ms for each.
        const std::uint32_t allowed =
            static_cast<std::uint32_t>(std::max<std::int64_t>(1, static_cast<std::int32_t>(end - start)));
        while (!handle.finished() && TimeGetTime() - start < allowed) {
            if (whileWaiting != nullptr) whileWaiting();
            SleepMs(1);
        }
        if (handle.finished()) {
            handle.join();
        } else {
            // A thread cannot be killed: it is left to run until the process ends.
            DebugOutput(("Thread \"" + handle.name + "\" did not end in time\n").c_str());
            handle.detach();
            allEnded = false;
        }
    }
    return allEnded;
}

void WindowLoop(Framerate& limiter) {
    while (!Quitting.load()) {
        limiter.StartFRC();
        if (startupHooks.pumpWindows != nullptr) startupHooks.pumpWindows();
        limiter.EndFRC();
    }
}

void TerminateHandler() {
    std::fputs("An exception was not handled; the program ends.\n", stderr);
    std::fflush(nullptr);
    _exit(-1);
}

namespace {
// Start-up makes large short-lived buffers (a decoded sprite sheet is 4 MB,
// a decoded sound several) on the render and game threads. With the
// allocator's sliding threshold, every such buffer after the first freed one
// is carved from a thread's arena, and what is freed there mostly stays
// resident for the rest of the run. A fixed threshold maps each of them on
// its own, so freeing one gives its pages back at once.
constexpr int kOwnMappingBytes = 256 * 1024;
}  // namespace

int ProgramMain() {
    mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
    Framerate limiter("Windows Loop", 60);
    const std::terminate_handler previousHandler = std::set_terminate(&TerminateHandler);
    // This thread alone makes, changes and destroys the windows.
    WindowClass::SetWindowThread();

    const bool started = OpenStartupWindow();
    // Without a window or a finished start-up nothing runs: whatever did
    // start is asked to end.
    if (started) {
        WindowLoop(limiter);
    } else {
        SetQuitting(nullptr);
    }

    if (startupHooks.hideAllWindows != nullptr) startupHooks.hideAllWindows();
    const bool allEnded = WaitForThreads(kShutdownBudgetMs, startupHooks.serveWindowRequests);
    // With the game thread gone, the network engine is shut down here, not by
    // its destructor: links ended, its lists emptied and its receive thread
    // joined before anything static is taken apart.
    if (allEnded) NetworkingEngine.ShutDown();
    inputEngine.Free();
    soundEngine.Free();
    Profiler::Reset();
    // A failed start-up window is a failure, not a success.
    const int status = started ? 0 : 1;
    if (!allEnded) {
        // A thread still runs and may touch anything the program would now
        // tear down: end the process without running destructors.
        std::fflush(nullptr);
        if (startupHooks.exitProcess != nullptr) {
            startupHooks.exitProcess(status);
        } else {
            _exit(status);
        }
    }
    std::set_terminate(previousHandler);
    return status;
}
