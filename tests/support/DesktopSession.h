#pragma once
// Test helper: the real program on a real X server, driven as a person drives
// it. A session starts its own Xvfb at a given size on a display number the
// server picks itself (-displayfd, so sessions of several tests and other
// programs' servers never meet), optionally openbox as the window manager,
// and runs the built glimmerfall with a fresh home folder inside a network
// namespace of its own (unshare -n: the program's broadcasts reach nothing).
// It moves the real X pointer, holds buttons and keys and types through
// xdotool, asks windows to close, destroys them or kills their connection
// as a desktop can, and reads the screen back as pixels.
//
// Every wait is bounded (60 s unless told) and polls what the screen or the
// process shows, never a fixed sleep; every process is started by the session
// and ended by its id when the session ends, whatever happened. A failed case
// keeps its folder (the last screens as PNG, each program's error stream)
// and prints where it is; a passing one leaves nothing behind.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/ScreenPicture.h"

namespace desktop {

using namespace std::chrono_literals;

// The longest any one wait of a desktop case lasts.
constexpr std::chrono::milliseconds kLongestWait = 60s;

// Polls `test` every `step` until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& test, std::chrono::milliseconds limit = kLongestWait,
               std::chrono::milliseconds step = 50ms);

// One process the session started.
class Child {
public:
    Child() = default;
    ~Child() { Stop(); }
    Child(Child&& other) noexcept;
    Child& operator=(Child&& other) noexcept;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts argv[0] (looked up on PATH) with exactly the given environment,
    // standard input from /dev/null, output and errors into the files (or
    // /dev/null when empty). With passFd >= 0, that descriptor becomes the
    // child's descriptor 3; with a working folder, the child starts there.
    // No Child on failure.
    static std::optional<Child> Start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                                      const std::string& outFile, const std::string& errFile, int passFd = -1,
                                      const std::string& workingFolder = {});

    pid_t Pid() const { return pid; }
    // Still running (one that has ended is reaped here).
    bool Running();
    // The exit status once it has ended within the limit: the exit code, or
    // 128 + the signal that ended it.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = kLongestWait);
    std::optional<int> Status() const { return status; }
    void Signal(int signal);
    // Kills it (SIGKILL, by its id) if it still runs, and reaps it.
    void Stop();

private:
    void Reaped(int waitStatus);
    pid_t pid = -1;
    std::optional<int> status;
};

// One run of glimmerfall.
struct ProgramRun {
    Child process;
    std::string home;       // its HOME
    std::string errorFile;  // its error stream
    std::string outputFile;

    std::string ErrorText() const;
    // The save file under that home ($HOME/Tavelin/TavelinData.sav).
    std::string SaveFile() const;
    // Whether the error stream holds a sanitizer's report.
    bool SanitizerReported() const;
};

// A top-level window of the X server.
struct TopWindow {
    unsigned long id = 0;
    std::string name;
    int pid = 0;  // _NET_WM_PID, 0 when not set
    Box box;      // where it lies on the screen
    bool viewable = false;
};

class DesktopSession {
public:
    struct Options {
        int width = 1280;
        int height = 720;
        bool windowManager = false;  // run openbox
    };

    explicit DesktopSession(Options options);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // The server (and window manager) came up; when not, the case has been
    // failed with the reason already.
    bool Ready() const { return ready; }
    const std::string& Display() const { return display; }
    const std::string& Folder() const { return folder; }
    int Width() const { return options.width; }
    int Height() const { return options.height; }

    // ---- the program ----
    // A fresh, empty home folder inside the session.
    std::string NewHome();
    // Starts the built program with that home, the arguments and extra
    // environment entries ("NAME=value"), inside its own network namespace.
    // The run lives as long as the session; null when it could not start.
    ProgramRun* StartProgram(const std::string& home, const std::vector<std::string>& arguments = {},
                             const std::vector<std::string>& environment = {});

    // ---- the screen ----
    Picture Grab();
    // Grabs until `test` holds of a grab and returns that grab; after the
    // limit, fails the case (keeping the last grab as "<name>.png") and
    // returns nothing. `name` says what was waited for.
    std::optional<Picture> WaitForScreen(const std::function<bool(const Picture&)>& test, const std::string& name,
                                         std::chrono::milliseconds limit = kLongestWait);
    // Keeps a grab in the session folder as "<name>.png" (looked at when a
    // case fails; removed with the folder when it passes).
    void Keep(const Picture& picture, const std::string& name);

    // ---- windows ----
    std::vector<TopWindow> Windows();
    // The viewable windows of one process, topmost last.
    std::vector<TopWindow> WindowsOf(pid_t pid);
    std::optional<TopWindow> WaitForWindow(const std::function<bool(const TopWindow&)>& test, const std::string& name,
                                           std::chrono::milliseconds limit = kLongestWait);
    // Whether a window still exists on the server.
    bool WindowExists(unsigned long id);
    // The window manager's name for itself (empty with none).
    std::string WindowManagerName();

    // A window of another program (the test's own, plain grey, named), of
    // the given size: the window manager places it and gives it the focus as
    // it does a new window. Its id (0 when it could not be made); it goes
    // with the session.
    unsigned long OpenOtherWindow(const std::string& name, int width, int height);
    // The window that has the keyboard focus (0 when none, or the root's).
    unsigned long FocusedWindow();

    // ---- input, through xdotool ----
    void MovePointer(int x, int y);
    // Moves the pointer through the points in turn, pausing briefly at each.
    void MovePointerAlong(const std::vector<std::pair<int, int>>& points);
    void ButtonDown(int button = 1);
    void ButtonUp(int button = 1);
    // A press held for holdMs at the pointer, then released.
    void Press(int button = 1, int holdMs = kHoldMs);
    // Moves there, then a held press.
    void Click(int x, int y, int button = 1, int holdMs = kHoldMs);
    // Moves there, then two short presses well within a double-click time.
    void DoubleClick(int x, int y);
    // Keys by their X names ("Escape", "F4", "shift", "alt+F4"): every key of
    // the chord goes down in order, is held, and comes up in reverse order.
    void Key(const std::string& keys, int holdMs = kHoldMs);
    void Type(const std::string& text);
    // Drags a window by (dx, dy) the way a person moves it with the window
    // manager: Alt held, the left button held on the window, the pointer
    // moved, released.
    void DragWithWindowManager(const TopWindow& window, int dx, int dy);
    // What a desktop's close button or Alt+F4 sends: WM_DELETE_WINDOW (through
    // the window manager when there is one, _NET_CLOSE_WINDOW).
    void AskToClose(const TopWindow& window);
    // Destroys the window from outside (xdotool windowclose).
    void DestroyWindow(const TopWindow& window);
    // Ends the window's connection to the display, as xkill does (xdotool
    // windowkill).
    void KillConnection(const TopWindow& window);

    // How long a press or key is held: long enough for the program's input,
    // polled 120 times a second and handed to a game frame, to see it.
    static constexpr int kHoldMs = 150;

private:
    void Fail(const std::string& text);
    bool RunTool(const std::vector<std::string>& argv);
    std::vector<std::string> BaseEnvironment() const;
    bool StartServer();
    bool StartWindowManager();

    Options options;
    std::string folder;
    std::string display;
    bool ready = false;
    int homes = 0;
    int keptPictures = 0;
    Child server;
    Child windowManager;
    std::vector<std::unique_ptr<ProgramRun>> runs;
    struct Connection;
    std::unique_ptr<Connection> x;
};

// The built program this test build runs.
std::string ProgramPath();

// Reads a whole file (empty when missing).
std::string ReadFile(const std::string& path);

}  // namespace desktop
