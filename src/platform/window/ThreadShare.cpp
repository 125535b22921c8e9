#include "platform/window/ThreadShare.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {
// About nine times the weight of the program's other threads (what SDL
// calls a high priority): with half that, beside 8 busy processes a frame in
// a hundred still started a millisecond late. Counted from the nice value
// the program was started with, which the user chose.
constexpr int kLarger = 10;
constexpr int kHighestNice = -20;

pid_t ThisThread() { return static_cast<pid_t>(syscall(SYS_gettid)); }
}  // namespace

bool AskForALargerShare() {
    // Once per thread: the share is counted from the one it started with.
    thread_local int asked = 0;  // 0 not yet, 1 granted, -1 refused
    if (asked != 0) return asked > 0;
    asked = -1;
    const int ordinary = ThisThreadsNice();
    if (ordinary <= kHighestNice) return false;
    const int larger = std::max(ordinary - kLarger, kHighestNice);
    // SDL tries the system call first, then the desktop's real-time service.
    if (SDL_LinuxSetThreadPriority(ThisThread(), larger) != 0 || ThisThreadsNice() != larger) return false;
    asked = 1;
    return true;
}

int ThisThreadsNice() {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(ThisThread()));
    return errno == 0 ? nice : 0;
}
