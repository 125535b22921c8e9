#pragma once
// The program's life: the main thread (start-up window, window loop,
// shut-down), the start-up thread that prepares folders, options, input and
// graphics once, and the game thread that registers the entity types and
// runs the frame loop until Quitting is set.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

union SDL_Event;
class Framerate;

// One worker thread that the main thread waits for at exit.
struct ThreadHandle {
    std::string name;
    std::function<bool()> finished;  // the thread's body has returned
    std::function<void()> join;
    std::function<void()> detach;
};

// Appends to ThreadHandleList: the game thread's handle (main thread), and
// the input and render threads' (start-up thread). The start-up thread itself
// is not listed.
void AddThreadHandle(ThreadHandle handle);
std::size_t ThreadHandleCount();
// Every listed thread's body has returned (true for an empty list).
bool ListedThreadsFinished();

// Waits for every listed thread with one shared deadline: all of them
// together get budgetMs from the call, each at least 1 ms. A thread that has
// ended is joined; one still running at its time-out is detached (a thread
// cannot be killed). whileWaiting, when given, runs between the looks (the
// window thread keeps serving requests, so that no thread waits on it for
// ever). Empties the list; false when any thread was detached.
bool WaitForThreads(std::uint32_t budgetMs, void (*whileWaiting)() = nullptr);

// TimeGetTime at the top of the game frame under way.
extern std::atomic<std::uint32_t> FrameStartTime;

// What the program's life asks of the window layer, the renderer and the
// input manager, reached through replaceable functions so that a test can
// run the whole life without windows. The program starts with
// PlatformStartupHooks(); a hook left null is skipped (an init hook then
// counts as done).
struct StartupHooks {
    // Main thread. The start-up window (400 by 300, centred, showing the
    // start-up pictures): made and shown; false when it cannot be made.
    bool (*openFirstWindow)() = nullptr;
    // One pass over the start-up window's events; a quit request sets Quitting.
    void (*pumpFirstWindow)() = nullptr;
    // One turn of the window loop: the system's events (a quit request sets
    // Quitting; keys and the mouse go to the input layer), the queued window
    // requests, the cursor.
    void (*pumpWindows)() = nullptr;
    // At shut-down, before the wait for the threads.
    void (*hideAllWindows)() = nullptr;
    // At shut-down, while waiting for the threads: their window requests.
    void (*serveWindowRequests)() = nullptr;

    // Start-up thread. The states' windows and draw lists are tied to the
    // states before anything runs; then input, graphics and the window locks
    // start, each answering false on failure (and listing its thread).
    void (*wireWindows)() = nullptr;
    bool (*inputInit)() = nullptr;
    bool (*graphicsInit)() = nullptr;
    bool (*windowInit)() = nullptr;

    // Game thread: close the start-up window and let the render thread draw
    // the states' windows.
    void (*replaceFirstWindow)() = nullptr;
    // Game thread: open the first state and its window.
    void (*createFirstState)(const char* levelName) = nullptr;

    // Ends the process at once with the status, after a thread was left
    // running at shut-down. Null: _exit.
    void (*exitProcess)(int status) = nullptr;
};

// The hooks of the real program: SDL windows, the GL renderer, the input
// manager.
StartupHooks PlatformStartupHooks();

extern StartupHooks startupHooks;

// The start-up thread's work, in order. Every failure shows its text captioned
// "Error during initialization" and ends the program.
void StartupThread();

// The game thread's work: registration, the game's "Load", the first state,
// the frame loop until Quitting, the game's teardown.
void GameThread();

// Main thread: opens the start-up window, runs StartupThread beside it while
// pumping the window every 100 ms, then starts the game thread. False when
// the window could not be made or start-up failed.
bool OpenStartupWindow();

// Main thread, after start-up: pumps the system's events (quit requests set
// Quitting; keys and the mouse go to the input layer), serves window
// requests, paced by the limiter, until Quitting is set.
void WindowLoop(Framerate& limiter);

// The whole program on the calling (main) thread; returns the exit status:
// 0 after an orderly end, non-zero when the start-up window could not be made.
int ProgramMain();

// Installed as the handler of exceptions nobody caught: ends the process
// with status -1.
[[noreturn]] void TerminateHandler();

// Points the pad's and the Wii remote's switches at the game's rumbleOn,
// xbox360Controls and wiiControls and at the sound engine's pause, and plugs
// the remote into the input manager (start-up does this before the input
// starts).
void WireDeviceHooks();

// The folder under which the user's data folder "Tavelin" is made: the
// Documents folder, else the home folder, else the working directory.
std::string UserDocumentsFolder();
