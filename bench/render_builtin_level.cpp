// A single-player built-in level as a player sees it at its start (the first
// one, with one player, its sky, hills, grass and fireflies), drawn again and
// again at 1280x720: the render time per frame next to its target and the
// render thread's own share of it.
//
//   bench_render_builtin_level [level index]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FrameTiming.h"
#include "HeadlessGL.h"
#include "Scenes.h"

int main(int argc, char** argv) {
    using namespace scenes;
    const int index = argc > 1 ? std::atoi(argv[1]) : 0;
    if (index < 0 || index >= static_cast<int>(BuiltInLevelNames.size())) {
        std::fprintf(stderr, "no built-in level %d\n", index);
        return 1;
    }
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    int status = 0;
    {
        LevelStarts levels;
        std::vector<std::uint8_t> rgba;
        const std::string why = levels.Shoot(index, rgba);
        if (!why.empty()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            status = 1;
        } else {
            // The level's last frame stays the newest: each turn draws it again.
            const timing::Figures fig = timing::Measure([](int) {}, 20, 7, 40);
            std::printf("built-in level %s at its start, one player, %dx%d\n",
                        BuiltInLevelNames[static_cast<std::size_t>(index)], kWidth, kHeight);
            std::printf("median of 7 rounds of 40 frames (best-worst round)\n");
            std::printf("quads/frame  draws/frame  render ms/frame         target  render thread ms  processor ms\n");
            std::printf("%11zu  %11.1f  %6.2f (%5.2f-%5.2f)  < 8 ms   %16.2f  %12.2f\n", levels.LastQuads(), fig.draws,
                        fig.wallMs, fig.wallMinMs, fig.wallMaxMs, fig.threadMs, fig.processMs);
        }
    }
    gl.Close();
    return status;
}
