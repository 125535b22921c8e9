// Render time per frame at 1280x720 on this machine's GL for N textured
// quads spread over the four layer lists and the general list, the draw
// calls each frame takes and the render thread's own share of the time. The
// second table adds what showing every layer whole costs: each layer's
// target drawn over the window as one more quad, four full-window blends.
#include <cstdio>

#include "FrameTiming.h"
#include "HeadlessGL.h"
#include "Scenes.h"

int main() {
    using namespace scenes;
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, false)) return 1;
    {
        QuadScene scene;
        for (const bool compose : {false, true}) {
            std::printf(compose ? "\nwith the four layers composed over the window\n"
                                : "quads over the layers and the general list (median of 7 rounds of 30 frames)\n");
            std::printf(
                "quads  ms/frame  target   render thread ms  processor ms  draws/frame  bound(ceil(N/60)+changes)\n");
            for (int n : {0, 1000, 2000, 5000, 14000}) {
                const timing::Figures fig = timing::Measure([&](int) { scene.Queue(n, compose); }, 5, 7, 30);
                // Runs of one texture: two in each layer list, one in the
                // sorted general list, and the four layer textures of the
                // composition.
                const int extra = compose ? 4 : 0;
                const int bound = (n + extra + 59) / 60 + 4 * 2 + 1 + extra;
                std::printf("%5d  %8.2f  %-7s  %16.2f  %12.2f  %11.1f  %d\n", n, fig.wallMs,
                            n == 2000 && !compose ? "< 6 ms" : "", fig.threadMs, fig.processMs, fig.draws, bound);
            }
        }
        // Layers nothing is drawn into, composed over the window: what
        // leaving out the quads that show them saves.
        std::printf("\nthe four layers composed with nothing drawn into them (rows in turn)\n");
        const std::vector<timing::Figures> rows = timing::MeasureRows(
            2, [](std::size_t row) { graphicsEngine.savings.skipBlankLayers = row == 0; },
            [&](int) { scene.Queue(0, true); }, 3, 7, 30);
        graphicsEngine.savings = {};
        for (std::size_t row = 0; row < rows.size(); ++row)
            std::printf("%-34s %8.2f ms  processor %8.2f ms  draws %4.1f\n",
                        row == 0 ? "as drawn" : "without skipping blank layers", rows[row].wallMs, rows[row].processMs,
                        rows[row].draws);
    }
    gl.Close();
    return 0;
}
