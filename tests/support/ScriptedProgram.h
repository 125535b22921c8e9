#pragma once
// Test helper: the real program driven by a script of key and mouse events.
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
// frame, until the newest state's window has taken its full-screen change and
// is shown and active again; a mark waits for the full-screen change. A
// window is hidden, and takes no input, while the render thread changes it to
// or from full screen, and its size changes with it; on a busy machine that
// takes any number of game frames, which would drop keys or put a click where
// the window used to be.
//
// A run that takes more than 20,000 frames or ten minutes in all, or that
// goes on for 1,000 frames after its last step (the script's input should
// have ended the program), fails and asks the program to quit, so no script
// hangs a test.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/Engine.h"
#include "framework/ExObject.h"
#include "framework/Game.h"
#include "framework/Globals.h"
#include "framework/Level.h"
#include "framework/Object.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/WiiRemote.h"
#include "platform/window/GuiWindow.h"
#include "program/Startup.h"
#include "support/EntityWorld.h"
#include "support/TempFolder.h"
#include "support/ThreadedFakeClock.h"
#include "support/ThreadsEndWait.h"

namespace scripted {

struct Step {
    std::string command;
    std::string name;  // key, level or mark
    float x = 0.0f, y = 0.0f;
    int count = 0;
    int line = 0;
};

// The scancode of a key's name in a script ('_' stands for a blank).
inline SDL_Scancode KeyCode(const std::string& name) {
    SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    if (code != SDL_SCANCODE_UNKNOWN || name.size() < 2) return code;
    std::string spaced = name;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    return SDL_GetScancodeFromName(spaced.c_str());
}

// Parses a script; on a bad line returns nothing and says why in error.
inline std::optional<std::vector<Step>> Parse(const std::string& text, std::string& error) {
    std::vector<Step> steps;
    std::istringstream lines(text);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        const std::size_t hash = raw.find('#');
        std::istringstream in(raw.substr(0, hash));
        Step step;
        step.line = number;
        if (!(in >> step.command)) continue;
        const std::string& c = step.command;
        bool ok = true;
        if (c == "wait" || c == "limit") {
            ok = static_cast<bool>(in >> step.count) && step.count >= 0;
        } else if (c == "level" || c == "press" || c == "release" || c == "tap" || c == "mark" || c == "await") {
            ok = static_cast<bool>(in >> step.name);
            if (ok && c != "level" && c != "mark" && c != "await") ok = KeyCode(step.name) != SDL_SCANCODE_UNKNOWN;
        } else if (c == "point" || c == "click") {
            ok = static_cast<bool>(in >> step.x >> step.y);
        } else if (c != "close") {
            ok = false;
        }
        std::string extra;
        if (!ok || (in >> extra)) {
            error = "line " + std::to_string(number) + ": cannot read \"" + raw + "\"";
            return std::nullopt;
        }
        steps.push_back(step);
    }
    return steps;
}

// A recorded run of a level ("<frames> <controls>" a line, the controls a
// word of L, R and J or "-" for none) as script steps holding Left, Right and
// Space: its first `stretches` stretches, every key let go at the end.
inline std::string RecordedRun(const std::filesystem::path& path, int stretches) {
    std::ifstream in(path);
    std::string steps, held;
    int frames = 0;
    std::string controls;
    const std::pair<char, const char*> keys[] = {{'L', "Left"}, {'R', "Right"}, {'J', "Space"}};
    for (int i = 0; i < stretches && (in >> frames >> controls); ++i) {
        const std::string want = controls == "-" ? "" : controls;
        for (const auto& [letter, key] : keys) {
            const bool was = held.find(letter) != std::string::npos;
            const bool now = want.find(letter) != std::string::npos;
            if (now && !was) steps += std::string("press ") + key + "\n";
            if (!now && was) steps += std::string("release ") + key + "\n";
        }
        held = want;
        steps += "wait " + std::to_string(frames) + "\n";
    }
    for (const auto& [letter, key] : keys)
        if (held.find(letter) != std::string::npos) steps += std::string("release ") + key + "\n";
    return steps;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a script from the game thread's input hand-over.
class Runner {
public:
    using Callback = std::function<void()>;

    explicit Runner(std::vector<Step> script) : steps(std::move(script)) {}

    void On(const std::string& mark, Callback callback) { marks[mark] = std::move(callback); }
    void When(const std::string& name, std::function<bool()> condition) { conditions[name] = std::move(condition); }
    // Called on the game thread at the top of every frame, before the steps
    // (a test's own trace of the run; none by default).
    void EachFrame(std::function<void(int frame)> observer) { eachFrame = std::move(observer); }

    // Installs the runner as the game's input hand-over (one runner at a time).
    void Install() {
        active = this;
        Game::hooks.takeInput = [] { active->Frame(); };
    }

    bool Done() const { return done.load(); }
    int Frames() const { return frame.load(); }
    // Game frames run after the script's last step (0 while it runs): how
    // soon the program ended once the script's input was given, whatever
    // the windows took to be drawn and shown before.
    int FramesAfterScript() const { return done.load() ? frame.load() - doneFrame : 0; }
    const std::string& Failure() const { return failure; }

private:
    // The game thread, at the top of each frame.
    void Frame() {
        ++frame;
        if (frame.load() > kMaxFrames && failure.empty()) {
            failure = "the run took more than " + std::to_string(kMaxFrames) + " frames";
            SetQuitting(nullptr);
        }
        if (done.load() && frame.load() - doneFrame > kEndFrames && failure.empty()) {
            failure = "the program did not end within " + std::to_string(kEndFrames) + " frames of the script's end";
            SetQuitting(nullptr);
        }
        if (std::chrono::steady_clock::now() - started > kMaxRunTime && failure.empty()) {
            failure = "the run took more than " + std::to_string(kMaxRunTime.count()) + " seconds";
            SetQuitting(nullptr);
        }
        if (eachFrame) eachFrame(frame.load());
        bool fed = false;
        for (auto it = releases.begin(); it != releases.end();) {
            if (frame.load() >= it->first) {
                Feed(it->second);
                fed = true;
                it = releases.erase(it);
            } else {
                ++it;
            }
        }
        while (!done.load() && failure.empty() && waitUntil <= frame.load()) {
            if (next >= steps.size()) {
                done.store(true);
                doneFrame = frame.load();
                break;
            }
            const Step& s = steps[next];
            const bool givesInput = s.command == "press" || s.command == "release" || s.command == "tap" ||
                                    s.command == "point" || s.command == "click" || s.command == "close";
            if ((givesInput || s.command == "mark") && !WindowReady(givesInput)) {
                if (!readyWaitStart) readyWaitStart = std::chrono::steady_clock::now();
                if (std::chrono::steady_clock::now() - *readyWaitStart > kReadyWait)
                    Fail(s, "the window did not become ready for input");
                break;
            }
            readyWaitStart.reset();
            if (s.command == "level") {
                if (!ShowsLevel(s.name)) {
                    if (levelWaitStart < 0) levelWaitStart = frame.load();
                    if (frame.load() - levelWaitStart > limit)
                        Fail(s, "level \"" + s.name + "\" not reached in " + std::to_string(limit) + " frames");
                    break;
                }
                levelWaitStart = -1;
            } else if (s.command == "await") {
                auto found = conditions.find(s.name);
                if (found == conditions.end()) {
                    Fail(s, "no condition \"" + s.name + "\"");
                    break;
                }
                if (!found->second()) {
                    if (levelWaitStart < 0) levelWaitStart = frame.load();
                    if (frame.load() - levelWaitStart > limit)
                        Fail(s, "\"" + s.name + "\" did not hold in " + std::to_string(limit) + " frames");
                    break;
                }
                levelWaitStart = -1;
            } else if (s.command == "wait") {
                waitUntil = frame.load() + s.count;
            } else if (s.command == "limit") {
                limit = s.count;
            } else if (s.command == "press" || s.command == "release" || s.command == "tap") {
                Feed(KeyEvent(s.name, s.command != "release"));
                fed = true;
                if (s.command == "tap") releases.emplace_back(frame.load() + 2, KeyEvent(s.name, false));
            } else if (s.command == "point" || s.command == "click") {
                int px = 0, py = 0;
                if (!ScreenPoint(s.x, s.y, px, py)) {
                    Fail(s, "no window to point into");
                    break;
                }
                SDL_Event move{};
                move.type = SDL_MOUSEMOTION;
                move.motion.x = px;
                move.motion.y = py;
                move.motion.xrel = px - pointerX;
                move.motion.yrel = py - pointerY;
                pointerX = px;
                pointerY = py;
                Feed(move);
                fed = true;
                if (s.command == "click") {
                    Feed(ButtonEvent(true));
                    releases.emplace_back(frame.load() + 2, ButtonEvent(false));
                }
            } else if (s.command == "close") {
                State* state = State::_list.empty() ? nullptr : State::_list.back();
                SDL_Window* window = state && state->window ? state->window->GetHwnd() : nullptr;
                if (window == nullptr) {
                    Fail(s, "no window to close");
                    break;
                }
                SDL_Event close{};
                close.type = SDL_WINDOWEVENT;
                close.window.event = SDL_WINDOWEVENT_CLOSE;
                close.window.windowID = SDL_GetWindowID(window);
                SDL_PushEvent(&close);
            } else if (s.command == "mark") {
                auto found = marks.find(s.name);
                if (found == marks.end()) {
                    Fail(s, "no callback for mark \"" + s.name + "\"");
                    break;
                }
                found->second();
            }
            ++next;
        }
        if (fed) WaitForPoll();
        inputEngine.GameUpdate();
    }

    // The newest state's window is at its wanted full-screen setting and,
    // for input, shown and active: input given now reaches it where the
    // script means it, and a mark sees the window as the script left it.
    static bool WindowReady(bool forInput) {
        State* state = State::_list.empty() ? nullptr : State::_list.back();
        if (state == nullptr || state->window == nullptr) return !forInput;
        const GUI::GuiWindow& w = *state->window;
        return w.IsFullScreen() == w.IsFullScreenWanted() && (!forInput || w.GetActive());
    }

    static bool ShowsLevel(const std::string& name) {
        for (State* state : State::_list)
            if (!state->Deleted() && state->GetLevel() != nullptr && state->GetLevelName() == name) return true;
        return false;
    }

    static SDL_Event KeyEvent(const std::string& key, bool down) {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.scancode = KeyCode(key);
        return event;
    }

    SDL_Event ButtonEvent(bool down) const {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = pointerX;
        event.button.y = pointerY;
        return event;
    }

    // The screen pixel of a game point in the newest state's window.
    static bool ScreenPoint(float x, float y, int& px, int& py) {
        State* state = State::_list.empty() ? nullptr : State::_list.back();
        if (state == nullptr || state->window == nullptr) return false;
        GUI::GuiWindow& w = *state->window;
        const GameArea area{w.GetX(), w.GetY(), w.GetWidth(), w.GetHeight(), w.GetResolution(), w.GetRenderHeight()};
        GraphicsEngine::GameToScreen(area, x, y, px, py);
        return true;
    }

    static void Feed(const SDL_Event& event) { inputEngine.HandleEvent(event); }

    // Until the input thread has handed over a poll taken after the events
    // (bounded: a stopped input thread fails the run rather than hanging it).
    void WaitForPoll() {
        const std::uint32_t seen = inputEngine.PollCount();
        const auto end = std::chrono::steady_clock::now() + kReadyWait;
        while (inputEngine.PollCount() - seen < 2) {
            if (std::chrono::steady_clock::now() > end) {
                failure = "the input thread stopped polling";
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    void Fail(const Step& s, const std::string& why) {
        failure = "script line " + std::to_string(s.line) + ": " + why;
        SetQuitting(nullptr);
    }

    std::vector<Step> steps;
    std::size_t next = 0;
    std::map<std::string, Callback> marks;
    std::map<std::string, std::function<bool()>> conditions;
    std::function<void(int)> eachFrame;
    std::vector<std::pair<int, SDL_Event>> releases;
    std::atomic<int> frame{0};
    int waitUntil = 0;
    int limit = 3000;
    int levelWaitStart = -1;
    int doneFrame = 0;
    int pointerX = 0, pointerY = 0;
    std::optional<std::chrono::steady_clock::time_point> readyWaitStart;
    const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::atomic<bool> done{false};
    std::string failure;

    static constexpr int kMaxFrames = 20000;
    static constexpr int kEndFrames = 1000;
    // Bounds on waits for the other threads: failures, never pacing.
    static constexpr std::chrono::seconds kReadyWait{60};
    static constexpr std::chrono::seconds kMaxRunTime{600};
    static inline Runner* active = nullptr;
};

// A fixture for runs of the whole program: its own home, configuration and
// temporary folders, sound on the null output, the injected threaded clock,
// the real start-up (windows, renderer, input, game thread); afterwards
// everything the run left is taken apart, so the next run starts from nothing.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        // What the environment held before the first run (a test may run
        // the program several times, taking everything apart in between).
        if (env.empty()) {
            for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"}) {
                const char* value = std::getenv(name);
                env.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            }
        }
        std::filesystem::create_directories(home / "Documents");
        setenv("HOME", home.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        setenv("TMPDIR", home.Path().c_str(), 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        Quitting.store(false);
        startupHooks = PlatformStartupHooks();
        startupHooks.hideAllWindows = &HideWindowsThenLetThreadsEnd;
        startupHooks.exitProcess = [](int) { ++stuckExits; };
        stuckExits = 0;
        Game::hooks = Game::DefaultHooks();
        State::hooks = State::DefaultHooks();
    }

    void TearDown() override {
        world::TakeApart();
        Game::hooks = Game::DefaultHooks();
        State::hooks = State::DefaultHooks();
        startupHooks = PlatformStartupHooks();
        // The GL driver stays loaded (what it keeps stays reachable at exit).
        ResetInputHooks();
        WiiRemote_::SetSwitches({});
        Quitting.store(false);
        GameQuit = nullptr;
        Globals.workingDirectory[0] = Globals.temporaryFolder[0] = Globals.userDataFolder[0] = '\0';
        for (auto& [name, value] : env) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    // Runs the program under the script (a file's text) to its end; the
    // program's status. Marks are given as name → callback.
    int Run(const std::string& script, const std::map<std::string, Runner::Callback>& callbacks = {},
            const std::map<std::string, std::function<bool()>>& conditions = {},
            std::function<void(int frame)> eachFrame = nullptr) {
        std::string error;
        auto steps = Parse(script, error);
        EXPECT_TRUE(steps.has_value()) << error;
        if (!steps) return -1;
        runner.emplace(std::move(*steps));
        for (const auto& [name, callback] : callbacks) runner->On(name, callback);
        for (const auto& [name, condition] : conditions) runner->When(name, condition);
        runner->EachFrame(std::move(eachFrame));
        runner->Install();
        return ProgramMain();
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> env;
    TempFolder home;
    ThreadedFakeClock clock;
    std::optional<Runner> runner;
    static inline std::atomic<int> stuckExits{0};
};

}  // namespace scripted
