#include "program/ScriptedInput.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include "framework/Game.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/window/GuiWindow.h"

namespace ScriptedInput {

SDL_Scancode KeyCode(const std::string& name) {
    SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    if (code != SDL_SCANCODE_UNKNOWN || name.size() < 2) return code;
    std::string spaced = name;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    return SDL_GetScancodeFromName(spaced.c_str());
}

std::optional<std::vector<Step>> Parse(const std::string& text, std::string& error, int firstLine) {
    std::vector<Step> steps;
    std::istringstream lines(text);
    std::string raw;
    int number = firstLine - 1;
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
        } else if (c == "level" || c == "press" || c == "release" || c == "tap" || c == "mark" || c == "await" ||
                   c == "focus") {
            ok = static_cast<bool>(in >> step.name);
            if (ok && c != "level" && c != "mark" && c != "await" && c != "focus")
                ok = KeyCode(step.name) != SDL_SCANCODE_UNKNOWN;
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

void Runner::Install() {
    active = this;
    Game::hooks.takeInput = [] { active->Frame(); };
}

void Runner::ReadMore() {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(followed, error);
    if (error || size <= followedRead) return;
    std::ifstream in(followed, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(followedRead));
    std::string text(static_cast<std::size_t>(size - followedRead), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    // Only whole lines: the writer may be in the middle of one.
    const std::size_t end = text.rfind('\n');
    if (end == std::string::npos) return;
    text.resize(end + 1);
    followedRead += text.size();
    std::string why;
    auto more = Parse(text, why, followedLines + 1);
    followedLines += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (!more) {
        failure = "followed script: " + why;
        SetQuitting(nullptr);
        return;
    }
    steps.insert(steps.end(), more->begin(), more->end());
}

void Runner::Frame() {
    ++frame;
    const bool whole = followed.empty();
    if (whole && frame.load() > kMaxFrames && failure.empty()) {
        failure = "the run took more than " + std::to_string(kMaxFrames) + " frames";
        SetQuitting(nullptr);
    }
    if (done.load() && frame.load() - doneFrame > kEndFrames && failure.empty()) {
        failure = "the program did not end within " + std::to_string(kEndFrames) + " frames of the script's end";
        SetQuitting(nullptr);
    }
    if (whole && std::chrono::steady_clock::now() - started > kMaxRunTime && failure.empty()) {
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
        if (next >= steps.size() && !whole) ReadMore();
        if (next >= steps.size()) {
            if (!whole) break;
            done.store(true);
            doneFrame = frame.load();
            break;
        }
        const Step& s = steps[next];
        const bool givesInput = s.command == "press" || s.command == "release" || s.command == "tap" ||
                                s.command == "point" || s.command == "click" || s.command == "close";
        if (s.command == "focus") {
            if (!Focus(s.name)) {
                if (levelWaitStart < 0) levelWaitStart = frame.load();
                if (frame.load() - levelWaitStart > limit)
                    Fail(s, "no window shows level \"" + s.name + "\" to take the focus");
                break;
            }
            levelWaitStart = -1;
            if (eachStep) eachStep(s);
            ++next;
            // The window thread takes the focus events before the next input.
            waitUntil = frame.load() + 2;
            continue;
        }
        if ((givesInput || s.command == "mark") && !WindowReady(givesInput)) {
            const auto now = std::chrono::steady_clock::now();
            if (!readyWaitStart) readyWaitStart = now;
            // With no window manager nobody gives a new window the focus when
            // the window before it goes: a person clicks into it (which makes
            // it the active one), and the script's input, given straight to
            // the input layer, cannot. A window that stays on the screen but
            // inactive is given the focus as that click would; one not on the
            // screen yet is waited for (a person cannot click into it).
            if (givesInput && WindowReady(false) && OnScreen() && now - *readyWaitStart > kFocusAfter &&
                (!lastFocusGiven || now - *lastFocusGiven > kFocusAfter)) {
                if (State* state = InputState()) GiveFocus(state);
                lastFocusGiven = now;
            }
            if (now - *readyWaitStart > kReadyWait) Fail(s, "the window did not become ready for input");
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
            State* state = InputState();
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
        if (eachStep) eachStep(s);
        ++next;
    }
    if (fed) WaitForPoll();
    inputEngine.GameUpdate();
}

State* Runner::InputState() const {
    State* newest = State::_list.empty() ? nullptr : State::_list.back();
    if (focused == nullptr || newest != focusedNewest) return newest;
    const bool running = std::find(State::_list.begin(), State::_list.end(), focused) != State::_list.end();
    return running && !focused->Deleted() ? focused : newest;
}

// The focus to the newest state showing level: its window gains it, the
// others lose it, as the system tells a window thread.
bool Runner::Focus(const std::string& level) {
    State* target = nullptr;
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevelName() == level && state->window != nullptr) target = state;
    if (target == nullptr || target->window->GetHwnd() == nullptr) return false;
    GiveFocus(target);
    focused = target;
    focusedNewest = State::_list.back();
    return true;
}

void Runner::GiveFocus(State* state) {
    SDL_Window* window = state->window != nullptr ? state->window->GetHwnd() : nullptr;
    if (window == nullptr) return;
    // The system takes the focus from one window before it gives it to
    // another: never two active at once.
    for (State* other : State::_list) {
        SDL_Window* otherWindow = other->window != nullptr ? other->window->GetHwnd() : nullptr;
        if (otherWindow == nullptr || other == state) continue;
        SDL_Event lost{};
        lost.type = SDL_WINDOWEVENT;
        lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        lost.window.windowID = SDL_GetWindowID(otherWindow);
        SDL_PushEvent(&lost);
    }
    SDL_Event gained{};
    gained.type = SDL_WINDOWEVENT;
    gained.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    gained.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&gained);
}

// The input state's window is at its wanted full-screen setting and, for
// input, on the screen as drawn and active: input given now reaches it where
// the script means it, after everything the system said of its showing, and
// a mark sees the window as the script left it.
bool Runner::WindowReady(bool forInput) const {
    State* state = InputState();
    if (state == nullptr || state->window == nullptr) return !forInput;
    const GUI::GuiWindow& w = *state->window;
    return w.IsFullScreen() == w.IsFullScreenWanted() && (!forInput || (w.OnScreen() && w.GetActive()));
}

bool Runner::OnScreen() const {
    State* state = InputState();
    return state != nullptr && state->window != nullptr && state->window->OnScreen();
}

bool Runner::ShowsLevel(const std::string& name) {
    for (State* state : State::_list)
        if (!state->Deleted() && state->GetLevel() != nullptr && state->GetLevelName() == name) return true;
    return false;
}

SDL_Event Runner::KeyEvent(const std::string& key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = KeyCode(key);
    return event;
}

SDL_Event Runner::ButtonEvent(bool down) const {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = pointerX;
    event.button.y = pointerY;
    return event;
}

// The screen pixel of a game point in the newest state's window.
bool Runner::ScreenPoint(float x, float y, int& px, int& py) const {
    State* state = InputState();
    if (state == nullptr || state->window == nullptr) return false;
    // One reading: the window thread may take a move between reads.
    GraphicsEngine::GameToScreen(state->window->GetPictureArea(), x, y, px, py);
    return true;
}

void Runner::Feed(const SDL_Event& event) { inputEngine.HandleEvent(event); }

// Until the input thread has handed over a poll taken after the events
// (bounded: a stopped input thread fails the run rather than hanging it).
void Runner::WaitForPoll() {
    const std::uint32_t seen = inputEngine.PollCount();
    const auto end = std::chrono::steady_clock::now() + kPollWait;
    while (inputEngine.PollCount() - seen < 2) {
        if (std::chrono::steady_clock::now() > end) {
            failure = "the input thread stopped polling";
            return;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void Runner::Fail(const Step& s, const std::string& why) {
    failure = "script line " + std::to_string(s.line) + ": " + why;
    SetQuitting(nullptr);
}

}  // namespace ScriptedInput
