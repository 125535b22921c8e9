#pragma once
#include <SDL2/SDL.h>

#include <atomic>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// What a request asks of the window thread.
enum WindowRequestKind {
    WINDOW_CREATE = 0,
    WINDOW_DESTROY = 1,
    WINDOW_NONE = 2,
    WINDOW_MINIMIZE = 3,
    // SDL's window calls belong to the thread that pumps the events, so
    // showing, hiding, placing and raising are requests as well.
    WINDOW_SHOW = 4,
    WINDOW_HIDE = 5,
    WINDOW_PLACE = 6,  // move to (left, top) and size to right - left by bottom - top
    WINDOW_RAISE = 7,
    WINDOW_SET_TITLE = 8,
    WINDOW_MODAL_FOR = 9,  // hwnd belongs over parent until it is destroyed
};

// One request, living on the requester's stack until it is done.
class WindowClass;
struct WindowData {
    std::string name;
    int left = 0, top = 0, right = 0, bottom = 0;
    SDL_Window* hwnd = nullptr;
    SDL_Window* parent = nullptr;  // WINDOW_MODAL_FOR: the window hwnd stands over
    std::atomic<bool> done{false};
    int kind = WINDOW_NONE;
    // The window the request is about, which learns where the system put it.
    WindowClass* owner = nullptr;
};

// One borderless OS window. Only the window thread (the main thread) makes,
// changes and destroys SDL windows; every other thread queues a request and
// waits until it has been carried out.
class WindowClass {
public:
    WindowClass(int width, int height, int x, int y, bool active, bool rounded, std::string title);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    static bool Init();
    static std::string GenerateFakeName();
    // Queues the request and waits for it (5 ms polls). On the window thread
    // itself the request is carried out at once: waiting there would never end.
    static void SendWinMessage(WindowData* request);
    // Window thread: carries out every queued request in queue order.
    static void ServeWindowRequests();
    // Window thread: one turn of the pump (events, requests, cursor).
    static void PumpOnce();
    // Window thread: turns at 60 per second until Quitting.
    static void PumpWindowMessages();
    // The calling thread becomes the window thread.
    static void SetWindowThread();
    // Requests queued and not yet served.
    static std::size_t PendingRequests();

    void DeleteWindow();
    void SetPos(int x, int y);
    void SetSize(int width, int height);
    void SetSize(int width, int height, bool fullScreen);
    void SetXpos(int x) { SetPos(x, static_cast<int>(y)); }
    void SetYpos(int y) { SetPos(static_cast<int>(x), y); }
    void SetWidth(int w) { SetSize(w, static_cast<int>(height)); }
    void SetHeight(int h) { SetSize(static_cast<int>(width), h); }
    // Position and size together, in one request.
    void Place(int x, int y, int width, int height);

    // Where the window is: the place and size last asked for until the
    // system has carried the request out, then what the system reports,
    // including a move or resize by the window manager.
    int GetXpos() const { return static_cast<int>(x.load()); }
    int GetYpos() const { return static_cast<int>(y.load()); }
    int GetWidth() const { return static_cast<int>(width.load()); }
    int GetHeight() const { return static_cast<int>(height.load()); }
    float GetXf() const { return x.load(); }
    float GetYf() const { return y.load(); }
    float GetWidthf() const { return width.load(); }
    float GetHeightf() const { return height.load(); }
    const std::string& GetTitle() const { return title; }
    bool GetActive() const { return active.load(); }
    bool GetRounded() const { return rounded; }
    SDL_Window* GetHwnd() const { return hwnd; }
    operator SDL_Window*() const { return hwnd; }

    void SetTitle(const std::string& text);
    void SetRounded(bool value) { rounded = value; }
    void SetActive(bool value) { active.store(value); }
    // Rounded corners where the display supports shaped windows; here only
    // the flag is kept.
    void MakeRound() {}
    // Makes this window the active one; while a window stands in front of
    // it (BlockBehind), that one is made active instead.
    void Activate();
    void DeActivate() { active.store(false); }

    // Game thread: `front` (a dialog) stands in front of this window until
    // front is destroyed. Front becomes the active window at once, so keys
    // typed from now on reach it even before it shows; this window is never
    // the active one meanwhile: a press in it or the focus given to it makes
    // front active and raises it, and the press itself reaches nothing. The
    // system is told that front belongs over this window. When front is
    // destroyed while active, this window becomes the active one again.
    void BlockBehind(WindowClass& front);
    // A window stands in front of this one now.
    bool Blocked() const;
    void ShowWindow();
    void HideWindow();
    void Minimize();

    // A close request from outside the program (the window manager's close
    // button), latched by the window thread; the game thread takes it and
    // handles it as a click on the window's own close button.
    void RequestClose() { closeRequested.store(true); }
    bool TakeCloseRequest() { return closeRequested.exchange(false); }

    // The system window was destroyed from outside the program (its display
    // connection lives on). Nothing is drawn into it or asked of it any more,
    // and the program ends as a quit does. Any thread.
    bool IsGone() const { return gone.load(); }
    // Render thread, before drawing into the window: whether it is still on
    // the display (asking the display when it runs on one).
    bool StillThere();
    // Any window of the program gone.
    static bool AnyGone() { return anyGone.load(); }

    static bool GetActive(SDL_Window* window);
    static void HideAllWindows();
    // Main thread, at the very end: closes the video. The display's answers
    // still to come are taken first as the program takes them (refusals
    // reported, not fatal); with a window destroyed from outside, the
    // connection is left for the system to close, since closing the video
    // would ask again about that window.
    static void EndVideo();

    static std::recursive_mutex WinCrit;
    static std::recursive_mutex ListCritical;
    // Read by the window thread each turn (set by the window manager).
    static std::atomic<bool> showCursor;

private:
    static void Carry(WindowData& request);
    void Send(int kind, int left, int top, int right, int bottom);
    // Window thread: takes the place and size the system reports.
    void TakeSystemGeometry();
    void MarkGone();
    // Window thread: a press in that window makes it the active one (or
    // the window in front of it); false when the press is for no window of
    // the program's input, being in a window something stands in front of.
    static bool TakeFocusOnPress(Uint32 windowId);
    // Window thread: the system gave that window the keyboard focus.
    static void FocusGained(WindowClass& window);
    // The window standing in front of window, through every dialog in front
    // of another, or window itself (ListCritical held).
    static WindowClass* Frontmost(WindowClass* window);
    // Makes target the one active window (ListCritical held).
    static void MakeOnlyActive(WindowClass* target);

    SDL_Window* hwnd = nullptr;
    std::string title;
    std::atomic<bool> active{false};
    std::atomic<bool> closeRequested{false};
    std::atomic<bool> gone{false};
    // The SDL id of the window standing in front of this one (0: none); it
    // counts while that id is still in the handle map.
    std::atomic<Uint32> blocker{0};
    bool rounded = false;
    // Written by the requester and by the window thread, read anywhere.
    std::atomic<float> x{0}, y{0}, width{0}, height{0};
    // The system window beneath SDL's, when on an X display (0 otherwise).
    unsigned long nativeWindow = 0;
    static std::atomic<bool> anyGone;

    static std::vector<WindowData*> queue;
    static std::unordered_map<Uint32, WindowClass*> handles;
    static int fakeNameCounter;
};
