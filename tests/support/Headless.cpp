// Linked into every test program: tests run headless unless the caller says
// otherwise (offscreen video on software GL, silent audio).
#include <cstdlib>

namespace {
struct Headless {
    Headless() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    }
} headless;
}  // namespace
