#include "platform/window/DisplayLink.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace DisplayLink {

namespace {

std::atomic<void (*)()> lostAction{nullptr};
std::atomic<Display*> display{nullptr};
// Refusals are told on the error stream, the first few of them.
std::atomic<int> refusalsTold{0};
constexpr int kRefusalsTold = 8;

int OnRefusal(Display*, XErrorEvent* error) {
    if (refusalsTold.fetch_add(1) < kRefusalsTold)
        std::fprintf(stderr, "glimmerfall: the display refused a request (error %d, request %d.%d, resource 0x%lx)\n",
                     error->error_code, error->request_code, error->minor_code, error->resourceid);
    return 0;
}

int OnLostConnection(Display* lost) {
    // What broke is told first, as the display library would have told it:
    // a connection closed by the display (the library then leaves the error
    // of its last read, "try again", or none) differs from one that failed.
    const int cause = errno;
    std::fprintf(stderr, "glimmerfall: the connection to display %s failed (%s) after %lu requests, %lu answered\n",
                 lost != nullptr ? DisplayString(lost) : "?",
                 cause == EPIPE || cause == ECONNRESET || cause == EAGAIN || cause == 0 ? "closed by the display"
                                                                                        : std::strerror(cause),
                 lost != nullptr ? NextRequest(lost) - 1 : 0UL,
                 lost != nullptr ? LastKnownRequestProcessed(lost) : 0UL);
    if (void (*action)() = lostAction.load()) action();
    // An action that returns has broken its word; the display is unusable.
    std::fflush(nullptr);
    _exit(1);
}

}  // namespace

void Watch(void (*onLost)()) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || SDL_strcmp(driver, "x11") != 0) return;
    lostAction.store(onLost);
    XSetErrorHandler(&OnRefusal);
    XSetIOErrorHandler(&OnLostConnection);
    // The system's own events reach the window thread too: the only way to
    // learn that a window was destroyed from outside.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

unsigned long NativeWindow(SDL_Window* window) {
    if (window == nullptr) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    display.store(info.info.x11.display);
    return info.info.x11.window;
}

unsigned long DestroyedWindow(const SDL_Event& event) {
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return 0;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    return x.type == DestroyNotify ? x.xdestroywindow.window : 0;
}

void Settle() {
    if (Display* d = display.load()) XSync(d, False);
}

bool StillThere(unsigned long window) {
    Display* d = display.load();
    if (d == nullptr || window == 0) return true;
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    return XGetGeometry(d, window, &root, &x, &y, &width, &height, &border, &depth) != 0;
}

}  // namespace DisplayLink
