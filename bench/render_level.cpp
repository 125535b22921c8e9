// A play level as the game draws it: a 200 by 27 grid (the built-in levels'
// size) with grass, dirt, spikes and breakable blocks, 16 players with their
// trails (boosted) or without (calm) and their paint, the night-sky strips,
// the sky, the HUD moon and its stars, through the real drawing objects and
// renderer at 1280x720. Prints quads and draw calls per frame, the game
// thread's queueing time, the render time per frame next to its target and
// the render thread's own share of it.
//
// The game's side queues 40 frames once; every row draws those same frames
// again, and each round draws them under every row in turn, so the rows
// differ only in the saving they leave out.
//
// With "lists", it prints instead what each draw list of the frame costs:
// the frame timed with that one list left out, beside the whole frame.
//
// With "row N" it times row N alone (for a profiler).
//
//   bench_render_level [calm] [lists] [row N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FrameTiming.h"
#include "HeadlessGL.h"
#include "ListCosts.h"
#include "Scenes.h"

int main(int argc, char** argv) {
    using namespace scenes;
    bool calm = false, lists = false;
    int only = -1;
    for (int i = 1; i < argc; ++i) {
        calm = calm || std::string(argv[i]) == "calm";
        lists = lists || std::string(argv[i]) == "lists";
        if (std::string(argv[i]) == "row" && i + 1 < argc) only = std::atoi(argv[++i]);
    }
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    {
        constexpr int kWarm = 20, kFrames = 40, kRounds = 7, kRowWarm = 4;
        PlayScene scene(calm);
        Recording recording;
        double queueMs = 0.0;
        std::size_t quads = 0;
        for (int f = 0; f < kWarm + kFrames; ++f) {
            const auto q0 = std::chrono::steady_clock::now();
            const std::size_t n = scene.Queue(f);
            const auto q1 = std::chrono::steady_clock::now();
            if (f < kWarm) continue;
            queueMs += std::chrono::duration<double, std::milli>(q1 - q0).count();
            quads += n;
            recording.Add(scene.LastFrame());
        }
        if (lists) {
            listcosts::Print(recording, *scene.view.position, kFrames, 3, kRowWarm);
            graphicsEngine.savings = {};
            gl.Close();
            return 0;
        }
        std::printf("play level 200x27, 16 %s players, night-sky strips, sky, HUD moon and stars, %dx%d\n",
                    calm ? "calm" : "boosted (trails)", kWidth, kHeight);
        std::printf(
            "the same %d frames under each row, %d rounds (rows in turn), median (best-worst round);\n"
            "processor = every thread's time\n",
            kFrames, kRounds);
        std::printf("%-28s quads  draws  game ms  render ms (best-worst)  target   thread ms  processor ms\n", "");
        // Each saving turned over alone shows what it saves.
        struct Row {
            const char* name;
            void (*off)(GraphicsEngine::Savings&);
        };
        const Row rows[] = {
            {"as drawn", [](GraphicsEngine::Savings&) {}},
            {"without fitting quads", [](GraphicsEngine::Savings& s) { s.fitQuads = false; }},
            {"without half-size light", [](GraphicsEngine::Savings& s) { s.halfSizeLight = false; }},
            {"without skipping layers", [](GraphicsEngine::Savings& s) { s.skipUnreadLayers = false; }},
            {"with strips in one pass", [](GraphicsEngine::Savings& s) { s.stackStrips = true; }},
            {"without skipping covered", [](GraphicsEngine::Savings& s) { s.skipCovered = false; }},
            {"without skipping clear parts", [](GraphicsEngine::Savings& s) { s.skipClear = false; }},
            {"without either", [](GraphicsEngine::Savings& s) { s.skipCovered = s.skipClear = false; }},
            {"without any of them",
             [](GraphicsEngine::Savings& s) {
                 s.fitQuads = s.halfSizeLight = s.skipUnreadLayers = s.stackStrips = s.skipCovered = s.skipClear =
                     false;
             }},
        };
        constexpr std::size_t kRows = sizeof rows / sizeof rows[0];
        const bool one = only >= 0 && only < static_cast<int>(kRows);
        const std::vector<timing::Figures> figures = timing::MeasureRows(
            one ? 1 : kRows,
            [&](std::size_t row) {
                graphicsEngine.savings = {};
                rows[one ? static_cast<std::size_t>(only) : row].off(graphicsEngine.savings);
            },
            [&](int k) { recording.Replay(static_cast<std::size_t>(k), *scene.view.position); }, kRowWarm, kRounds,
            kFrames);
        for (std::size_t row = 0; row < figures.size(); ++row) {
            const timing::Figures& fig = figures[row];
            const std::size_t shown = one ? static_cast<std::size_t>(only) : row;
            std::printf("%-28s %5zu  %5.1f  %7.2f  %6.2f (%6.2f-%6.2f)  %-7s  %9.2f  %12.2f\n", rows[shown].name,
                        quads / kFrames, fig.draws, queueMs / kFrames, fig.wallMs, fig.wallMinMs, fig.wallMaxMs,
                        calm || shown != 0 ? "" : "< 16 ms", fig.threadMs, fig.processMs);
        }
        graphicsEngine.savings = {};
    }
    gl.Close();
    return 0;
}
