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
        auto queue = [&](int f) {
            const auto q0 = std::chrono::steady_clock::now();
            quads = scene.Queue(f);
            queueMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - q0).count();
            ++queued;
        };
        std::printf("play level 200x27, 16 %s players, night-sky strips, sky, HUD moon and stars, %dx%d\n",
                    calm ? "calm" : "boosted (trails)", kWidth, kHeight);
        std::printf("median of 7 rounds of 40 frames (best-worst round); processor = every thread's time\n");
        std::printf("%-28s quads  draws  game ms  render ms (best-worst)  target   thread ms  processor ms\n", "");
        // Each saving turned off alone shows what it saves.
        struct Row {
            const char* name;
            GraphicsEngine::Savings savings;
        };
        const Row rows[] = {{"as drawn", {}},
                            {"without fitting quads", {false, true, true}},
                            {"without half-size light", {true, false, true}},
                            {"without skipping layers", {true, true, false}},
                            {"without any of them", {false, false, false}}};
        for (const Row& row : rows) {
            graphicsEngine.savings = row.savings;
            queueMs = 0.0;
            queued = 0;
            const timing::Figures fig = timing::Measure(queue, 20, 7, 40);
            std::printf("%-28s %5zu  %5.1f  %7.2f  %6.2f (%6.2f-%6.2f)  %-7s  %9.2f  %12.2f\n", row.name, quads,
                        fig.draws, queueMs / queued, fig.wallMs, fig.wallMinMs, fig.wallMaxMs,
                        calm || row.name != rows[0].name ? "" : "< 16 ms", fig.threadMs, fig.processMs);
        }
        graphicsEngine.savings = {};
    }
    gl.Close();
    return 0;
}
