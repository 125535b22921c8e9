// A play level as the game draws it: a 200 by 27 grid (the built-in levels'
// size) with grass, dirt, spikes and breakable blocks, 16 players with their
// trails (boosted) or without (calm) and their paint, the night-sky strips,
// the sky, the HUD moon and its stars, through the real drawing objects and
// renderer at 1280x720. Prints quads and draw calls per frame, the game
// thread's queueing time, the render time per frame next to its target and
// the render thread's own share of it.
//
//   bench_render_level [calm]
#include <chrono>
#include <cstdio>
#include <string>

#include "FrameTiming.h"
#include "HeadlessGL.h"
#include "Scenes.h"

int main(int argc, char** argv) {
    using namespace scenes;
    const bool calm = argc > 1 && std::string(argv[1]) == "calm";
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    {
        PlayScene scene(calm);
        double queueMs = 0.0;
        std::size_t quads = 0;
        int queued = 0;
        const timing::Figures fig = timing::Measure(
            [&](int f) {
                const auto q0 = std::chrono::steady_clock::now();
                quads = scene.Queue(f);
                queueMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - q0).count();
                ++queued;
            },
            30, 7, 40);
        std::printf("play level 200x27, 16 %s players, night-sky strips, sky, HUD moon and stars, %dx%d\n",
                    calm ? "calm" : "boosted (trails)", kWidth, kHeight);
        std::printf("median of 7 rounds of 40 frames (best-worst round)\n");
        std::printf("quads/frame  draws/frame  game ms/frame  render ms/frame         target  render thread ms/frame\n");
        std::printf("%11zu  %11.1f  %13.2f  %6.2f (%5.2f-%5.2f)  %s  %22.2f\n", quads, fig.draws, queueMs / queued,
                    fig.wallMs, fig.wallMinMs, fig.wallMaxMs, calm ? "      -" : "< 16 ms", fig.threadMs);
    }
    gl.Close();
    return 0;
}
