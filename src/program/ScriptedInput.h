#pragma once
// The program driven by a script of key and mouse events (test runs only).
//
// A script is text, one step a line ('#' starts a comment). Steps run in
// order at the top of a game frame, before the frame takes its input; a step
// that waits ends the frame's steps. Commands:
//
//   wait N            let N game frames pass
//   level NAME        wait until some state shows level NAME (its first frame
//                     has run); at most `limit` frames, else the run fails
//   limit N           frames a `level` wait may take (default 3000)
//   press KEY         key goes down (SDL scancode name: Return, Escape, P, Up…;
//                     '_' for a blank inside a name: Left_Shift)
//   release KEY       key comes up
//   tap KEY           press now, release two frames later
//   point X Y         pointer to the game point (X, Y) of the newest state's
//                     window (height 1, origin at the centre, y up)
//   click X Y         point, left button down now and up two frames later
//   close             the system's close request for the newest state's window
//   focus LEVEL       the keyboard focus to the window of the newest state
//                     that shows LEVEL (the system's focus events for it and
//                     the other windows); the pointer steps and close go to
//                     that window until a newer state opens
//   mark NAME         calls the test's callback NAME on the game thread
//   await NAME        waits until the test's condition NAME (asked on the
//                     game thread once a frame) holds; at most `limit`
//                     frames, else the run fails
//
// Events go through the input layer (Input_::HandleEvent, the entry the
// window thread uses), and each fed frame waits for the input thread's next
// poll, so the frame that follows sees them. The window close request goes
// through the system's event queue to the window thread.
//
// The game frames are the script's clock, not the other threads: a step
// that gives input (a key, the pointer or the close request) waits, frame by
// frame, until the newest state's window has taken its full-screen change, is
// on the screen with its picture drawn where its geometry now places it, the
// system's reports of its showing taken, and is active; a mark waits for the
// full-screen change. On a busy machine the render thread first shows a window
// any number of frames after its state opened, and after a newer window's
// state opened too (whose activity it then takes). A window is hidden, and
// takes no input, while the render thread changes it to or from full screen,
// and its size changes with it; on a busy machine that takes any number of
// game frames, which would drop keys or put a click where the window used to
// be. And as a window appears the system reports the pointer where it really
// is (it entered the window): a person moves the pointer only after seeing the
// window, and so must the script, or that report would take its pointer away.
//
// A script given whole: a run that takes more than 20,000 frames or ten
// minutes in all, or that goes on for 1,000 frames after its last step (the
// script's input should have ended the program), fails and asks the program
// to quit, so no script hangs a test. A followed script (a file another
// program appends steps to while this one runs) has no end of its own: the
// program that writes it decides when to end the run, and bounds it.
#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class State;

namespace ScriptedInput {

struct Step {
    std::string command;
    std::string name;  // key, level or mark
    float x = 0.0f, y = 0.0f;
    int count = 0;
    int line = 0;
};

// The scancode of a key's name in a script ('_' stands for a blank).
SDL_Scancode KeyCode(const std::string& name);

// Parses a script; on a bad line returns nothing and says why in error. Lines
// are numbered from firstLine.
std::optional<std::vector<Step>> Parse(const std::string& text, std::string& error, int firstLine = 1);

// Runs a script from the game thread's input hand-over.
class Runner {
public:
    using Callback = std::function<void()>;

    explicit Runner(std::vector<Step> script) : steps(std::move(script)) {}
    // Steps read from the file at path as lines are appended to it (see above).
    struct Follow {
        std::string path;
    };
    explicit Runner(Follow file) : followed(std::move(file.path)) {}

    void On(const std::string& mark, Callback callback) { marks[mark] = std::move(callback); }
    void When(const std::string& name, std::function<bool()> condition) { conditions[name] = std::move(condition); }
    // Called on the game thread at the top of every frame, before the steps
    // (a test's own trace of the run; none by default).
    void EachFrame(std::function<void(int frame)> observer) { eachFrame = std::move(observer); }
    // Called on the game thread with each step as it is carried out.
    void EachStep(std::function<void(const Step&)> observer) { eachStep = std::move(observer); }

    // Installs the runner as the game's input hand-over (one runner at a time).
    void Install();

    bool Done() const { return done.load(); }
    int Frames() const { return frame.load(); }
    // Game frames run after the script's last step (0 while it runs): how
    // soon the program ended once the script's input was given, whatever
    // the windows took to be drawn and shown before.
    int FramesAfterScript() const { return done.load() ? frame.load() - doneFrame : 0; }
    const std::string& Failure() const { return failure; }

private:
    void Frame();
    // Reads the followed file's new whole lines into steps.
    void ReadMore();
    // The state whose window input goes to: the one a focus step chose
    // while no newer state has opened, else the newest.
    State* InputState() const;
    bool Focus(const std::string& level);
    // The system's focus events for the state's window, as a click into it
    // gives: the other windows lose the focus, this one gains it.
    static void GiveFocus(State* state);
    bool WindowReady(bool forInput) const;
    // The input state's window is on the screen as drawn (GuiWindow::OnScreen).
    bool OnScreen() const;
    static bool ShowsLevel(const std::string& name);
    static SDL_Event KeyEvent(const std::string& key, bool down);
    SDL_Event ButtonEvent(bool down) const;
    bool ScreenPoint(float x, float y, int& px, int& py) const;
    static void Feed(const SDL_Event& event);
    void WaitForPoll();
    void Fail(const Step& s, const std::string& why);

    std::vector<Step> steps;
    std::size_t next = 0;
    State* focused = nullptr;
    State* focusedNewest = nullptr;
    std::string followed;             // the followed file, empty for a script given whole
    std::uintmax_t followedRead = 0;  // bytes of it taken into steps
    int followedLines = 0;
    std::map<std::string, Callback> marks;
    std::map<std::string, std::function<bool()>> conditions;
    std::function<void(int)> eachFrame;
    std::function<void(const Step&)> eachStep;
    std::vector<std::pair<int, SDL_Event>> releases;
    std::atomic<int> frame{0};
    int waitUntil = 0;
    int limit = 3000;
    int levelWaitStart = -1;
    int doneFrame = 0;
    int pointerX = 0, pointerY = 0;
    std::optional<std::chrono::steady_clock::time_point> readyWaitStart;
    std::optional<std::chrono::steady_clock::time_point> lastFocusGiven;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::atomic<bool> done{false};
    std::string failure;

    static constexpr int kMaxFrames = 20000;
    static constexpr int kEndFrames = 1000;
    // Bounds on waits for the other threads: failures, never pacing. A
    // window's first showing waits for the render thread's first drawing,
    // which under the thread checker on a loaded machine takes about a
    // minute.
    static constexpr std::chrono::seconds kReadyWait{300};
    static constexpr std::chrono::seconds kPollWait{60};
    static constexpr std::chrono::seconds kFocusAfter{2};
    static constexpr std::chrono::seconds kMaxRunTime{600};
    static inline Runner* active = nullptr;
};

}  // namespace ScriptedInput
