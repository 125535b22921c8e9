#include "platform/window/WindowClass.h"

#include <cstdio>
#include <thread>

#include "framework/Fatal.h"
#include "framework/Framerate.h"
#include "framework/Quit.h"
#include "framework/Time.h"
#include "platform/graphics/DirectX.h"
#include "platform/input/Input.h"
#include "platform/window/DisplayLink.h"

std::recursive_mutex WindowClass::WinCrit;
std::recursive_mutex WindowClass::ListCritical;
std::atomic<bool> WindowClass::showCursor{true};
std::atomic<bool> WindowClass::anyGone{false};
std::vector<WindowData*> WindowClass::queue;
std::unordered_map<Uint32, WindowClass*> WindowClass::handles;
int WindowClass::fakeNameCounter = 0;

namespace {
std::atomic<std::thread::id> windowThread{};

bool OnWindowThread() { return windowThread.load() == std::this_thread::get_id(); }
}  // namespace

bool WindowClass::Init() { return true; }

void WindowClass::SetWindowThread() {
    windowThread.store(std::this_thread::get_id());
    // Closing a window from the system (its close button, Alt+F4) is
    // handled as a click on the window's own close button: it never ends
    // the program by itself, even when it is the last window.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A click into a window without the focus both brings it forward and
    // acts there, as a click-to-focus desktop means it: otherwise the system
    // drops a click that comes within a few milliseconds of the focus, which
    // is every such click the window manager passes on.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
}

std::size_t WindowClass::PendingRequests() {
    std::lock_guard<std::recursive_mutex> lock(WinCrit);
    return queue.size();
}

std::string WindowClass::GenerateFakeName() {
    std::lock_guard<std::recursive_mutex> lock(ListCritical);
    return "FakeName_" + std::to_string(fakeNameCounter++);
}

WindowClass::WindowClass(int w, int h, int left, int top, bool isActive, bool isRounded, std::string text)
    : title(text.empty() ? GenerateFakeName() : std::move(text)), rounded(isRounded) {
    WindowData request;
    request.name = title;
    request.left = left;
    request.top = top;
    request.right = left + w;
    request.bottom = top + h;
    request.kind = WINDOW_CREATE;
    request.owner = this;
    x.store(static_cast<float>(left));
    y.store(static_cast<float>(top));
    width.store(static_cast<float>(w));
    height.store(static_cast<float>(h));
    SendWinMessage(&request);
    hwnd = request.hwnd;
    if (rounded) MakeRound();
    {
        std::lock_guard<std::recursive_mutex> lock(ListCritical);
        handles[SDL_GetWindowID(hwnd)] = this;
    }
    if (isActive) Activate();
}

WindowClass::~WindowClass() {
    if (hwnd) DeleteWindow();
}

void WindowClass::DeleteWindow() {
    if (!hwnd) return;
    // A dialog that goes while it is the active window hands the activity
    // back to the window it stood in front of.
    WindowClass* behind = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(ListCritical);
        const Uint32 id = SDL_GetWindowID(hwnd);
        auto found = handles.find(id);
        if (found != handles.end() && found->second == this) handles.erase(found);
        for (auto& [otherId, window] : handles) {
            if (window->blocker.load() != id) continue;
            window->blocker.store(0);
            if (active.load() && !window->IsGone()) behind = window;
        }
    }
    Send(WINDOW_DESTROY, GetXpos(), GetYpos(), GetXpos() + GetWidth(), GetYpos() + GetHeight());
    hwnd = nullptr;
    active.store(false);
    if (behind != nullptr) behind->Activate();
}

void WindowClass::SendWinMessage(WindowData* request) {
    if (OnWindowThread()) {
        std::lock_guard<std::recursive_mutex> lock(WinCrit);
        Carry(*request);
        return;
    }
    {
        std::lock_guard<std::recursive_mutex> lock(WinCrit);
        queue.push_back(request);
    }
    while (!request->done.load()) SleepMs(5);
}

void WindowClass::Carry(WindowData& r) {
    // A window destroyed from outside is asked nothing more: the system
    // would wait for its answers for ever. Only its own destroy goes on.
    if (r.owner != nullptr && r.owner->IsGone() && r.kind != WINDOW_DESTROY) r.kind = WINDOW_NONE;
    switch (r.kind) {
        case WINDOW_CREATE:
            SetGLWindowAttributes();
            r.hwnd = SDL_CreateWindow(r.name.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                                      SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
            if (!r.hwnd) FatalError("Window Creation Error!", "Cannot Create Window", -1);
            if (r.owner != nullptr) {
                r.owner->hwnd = r.hwnd;
                r.owner->nativeWindow = DisplayLink::NativeWindow(r.hwnd);
                r.owner->TakeSystemGeometry();
            }
            break;
        case WINDOW_DESTROY:
            if (r.hwnd) SDL_DestroyWindow(r.hwnd);
            break;
        case WINDOW_MINIMIZE:
            if (r.hwnd) SDL_MinimizeWindow(r.hwnd);
            break;
        case WINDOW_SHOW:
            if (r.hwnd) {
                SDL_ShowWindow(r.hwnd);
                SDL_RaiseWindow(r.hwnd);
            }
            break;
        case WINDOW_HIDE:
            if (r.hwnd) SDL_HideWindow(r.hwnd);
            break;
        case WINDOW_PLACE:
            if (r.hwnd) {
                SDL_SetWindowPosition(r.hwnd, r.left, r.top);
                SDL_SetWindowSize(r.hwnd, r.right - r.left, r.bottom - r.top);
                if (r.owner != nullptr) r.owner->TakeSystemGeometry();
            }
            break;
        case WINDOW_RAISE:
            if (r.hwnd) SDL_RaiseWindow(r.hwnd);
            break;
        case WINDOW_SET_TITLE:
            if (r.hwnd) SDL_SetWindowTitle(r.hwnd, r.name.c_str());
            break;
        case WINDOW_MODAL_FOR:
            // A display without the notion (none but X here) keeps the
            // program's own rule alone.
            if (r.hwnd && r.parent) (void)SDL_SetWindowModalFor(r.hwnd, r.parent);
            break;
        default: break;
    }
    r.done.store(true);
}

void WindowClass::ServeWindowRequests() {
    std::lock_guard<std::recursive_mutex> lock(WinCrit);
    for (WindowData* request : queue) Carry(*request);
    queue.clear();
}

void WindowClass::TakeSystemGeometry() {
    if (hwnd == nullptr) return;
    int left = 0, top = 0, w = 0, h = 0;
    SDL_GetWindowPosition(hwnd, &left, &top);
    SDL_GetWindowSize(hwnd, &w, &h);
    x.store(static_cast<float>(left));
    y.store(static_cast<float>(top));
    if (w > 0 && h > 0) {
        width.store(static_cast<float>(w));
        height.store(static_cast<float>(h));
    }
}

WindowClass* WindowClass::Frontmost(WindowClass* window) {
    // A dialog may open a dialog of its own; a chain is short, and a loop
    // (never made) ends after a few steps.
    for (int depth = 0; depth < 8; ++depth) {
        const Uint32 id = window->blocker.load();
        if (id == 0) break;
        auto found = handles.find(id);
        if (found == handles.end() || found->second->IsGone()) break;
        window = found->second;
    }
    return window;
}

void WindowClass::MakeOnlyActive(WindowClass* target) {
    for (auto& [id, window] : handles) window->active.store(window == target);
    target->active.store(true);
}

bool WindowClass::TakeFocusOnPress(Uint32 windowId) {
    std::lock_guard<std::recursive_mutex> lock(ListCritical);
    auto found = handles.find(windowId);
    if (found == handles.end() || found->second->IsGone()) return true;
    WindowClass* pressed = found->second;
    WindowClass* target = Frontmost(pressed);
    // A press behind a dialog brings the dialog back over its window.
    if (target != pressed && target->hwnd != nullptr) SDL_RaiseWindow(target->hwnd);
    if (!target->active.load()) {
        MakeOnlyActive(target);
        if (target->hwnd != nullptr) SDL_SetWindowInputFocus(target->hwnd);
    }
    return target == pressed;
}

void WindowClass::FocusGained(WindowClass& window) {
    WindowClass* target = Frontmost(&window);
    if (target == &window) {
        window.active.store(true);
        return;
    }
    MakeOnlyActive(target);
    if (target->hwnd == nullptr) return;
    // The focus went to a window behind a dialog (a click on it, a task
    // bar): it goes on to the dialog.
    SDL_RaiseWindow(target->hwnd);
    SDL_SetWindowInputFocus(target->hwnd);
}

void WindowClass::BlockBehind(WindowClass& front) {
    if (&front == this || front.hwnd == nullptr || hwnd == nullptr) return;
    {
        std::lock_guard<std::recursive_mutex> lock(ListCritical);
        blocker.store(SDL_GetWindowID(front.hwnd));
        MakeOnlyActive(Frontmost(this));
    }
    WindowData request;
    request.kind = WINDOW_MODAL_FOR;
    request.hwnd = front.hwnd;
    request.parent = hwnd;
    request.owner = &front;
    SendWinMessage(&request);
}

bool WindowClass::Blocked() const {
    std::lock_guard<std::recursive_mutex> lock(ListCritical);
    const Uint32 id = blocker.load();
    if (id == 0) return false;
    auto found = handles.find(id);
    return found != handles.end() && !found->second->IsGone();
}

void WindowClass::MarkGone() {
    if (gone.exchange(true)) return;
    anyGone.store(true);
    std::fprintf(stderr, "glimmerfall: the window \"%s\" was destroyed from outside; the program ends as a quit does\n",
                 title.c_str());
    Quitting.store(true);
}

bool WindowClass::StillThere() {
    if (IsGone()) return false;
    if (DisplayLink::StillThere(nativeWindow)) return true;
    MarkGone();
    return false;
}

void WindowClass::PumpOnce() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            Quitting.store(true);
            continue;
        }
        if (const unsigned long destroyed = DisplayLink::DestroyedWindow(event)) {
            // The program's own windows leave the map before they are
            // destroyed: a window still in it was destroyed from outside.
            std::lock_guard<std::recursive_mutex> lock(ListCritical);
            for (auto& [id, window] : handles)
                if (window->nativeWindow == destroyed) window->MarkGone();
            continue;
        }
        // A press in a window without the keyboard focus gives it the focus,
        // as a click-to-focus desktop does, before the press reaches the
        // input layer: with no window manager nothing else would (a focus
        // that returns to the pointer's window is not reported as gained),
        // and the press would be hidden as one in an inactive window.
        // A press in a window behind a dialog reaches nothing.
        if (event.type == SDL_MOUSEBUTTONDOWN && !TakeFocusOnPress(event.button.windowID)) continue;
        // Keys and the mouse go to the input layer, which latches them for
        // the input thread's next poll.
        inputEngine.HandleEvent(event);
        if (event.type == SDL_WINDOWEVENT) {
            // Activity follows the keyboard focus; where the window lies follows
            // the system (a window manager may move it); the handle map is
            // held only for the look-up.
            std::lock_guard<std::recursive_mutex> lock(ListCritical);
            auto found = handles.find(event.window.windowID);
            if (found == handles.end()) continue;
            WindowClass& window = *found->second;
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: FocusGained(window); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: window.active.store(false); break;
                case SDL_WINDOWEVENT_CLOSE: window.RequestClose(); break;
                case SDL_WINDOWEVENT_MOVED:
                case SDL_WINDOWEVENT_SIZE_CHANGED: window.TakeSystemGeometry(); break;
                default: break;
            }
        }
    }
    ServeWindowRequests();
    SDL_ShowCursor(showCursor.load() ? SDL_ENABLE : SDL_DISABLE);
}

void WindowClass::PumpWindowMessages() {
    SetWindowThread();
    Framerate limiter("Windows Loop", 60);
    while (!Quitting.load()) {
        limiter.StartFRC();
        PumpOnce();
        limiter.EndFRC();
    }
}

void WindowClass::Send(int kind, int left, int top, int right, int bottom) {
    WindowData request;
    request.name = title;
    request.hwnd = hwnd;
    request.left = left;
    request.top = top;
    request.right = right;
    request.bottom = bottom;
    request.kind = kind;
    request.owner = this;
    SendWinMessage(&request);
}

void WindowClass::Place(int left, int top, int w, int h) {
    x.store(static_cast<float>(left));
    y.store(static_cast<float>(top));
    width.store(static_cast<float>(w));
    height.store(static_cast<float>(h));
    Send(WINDOW_PLACE, left, top, left + w, top + h);
}

void WindowClass::SetPos(int left, int top) { Place(left, top, GetWidth(), GetHeight()); }
void WindowClass::SetSize(int w, int h) { Place(GetXpos(), GetYpos(), w, h); }

void WindowClass::SetSize(int w, int h, bool fullScreen) {
    if (!fullScreen) {
        SetSize(w, h);
        return;
    }
    SDL_Rect screen{0, 0, w, h};
    SDL_GetDisplayBounds(0, &screen);
    Place(0, 0, screen.w, screen.h);
}

void WindowClass::SetTitle(const std::string& text) {
    if (text.empty()) return;
    title = text;
    Send(WINDOW_SET_TITLE, 0, 0, 0, 0);
}

void WindowClass::Activate() {
    WindowClass* target = this;
    {
        std::lock_guard<std::recursive_mutex> lock(ListCritical);
        target = Frontmost(this);
        MakeOnlyActive(target);
    }
    target->Send(WINDOW_RAISE, 0, 0, 0, 0);
}

void WindowClass::ShowWindow() { Send(WINDOW_SHOW, 0, 0, 0, 0); }

void WindowClass::HideWindow() {
    Send(WINDOW_HIDE, 0, 0, 0, 0);
    active.store(false);
}

void WindowClass::Minimize() { Send(WINDOW_MINIMIZE, 0, 0, 0, 0); }

bool WindowClass::GetActive(SDL_Window* window) {
    std::lock_guard<std::recursive_mutex> lock(ListCritical);
    if (!window) {
        for (auto& [id, entry] : handles)
            if (entry->active.load()) return true;
        return false;
    }
    auto found = handles.find(SDL_GetWindowID(window));
    return found != handles.end() && found->second->active.load();
}

void WindowClass::EndVideo() {
    DisplayLink::Settle();
    if (!AnyGone()) SDL_Quit();
}

void WindowClass::HideAllWindows() {
    std::vector<WindowClass*> windows;
    {
        std::lock_guard<std::recursive_mutex> lock(ListCritical);
        for (auto& [id, entry] : handles) windows.push_back(entry);
    }
    // The requests are sent outside the map's lock: no lock is held while
    // waiting for the window thread.
    for (WindowClass* window : windows) window->HideWindow();
}
