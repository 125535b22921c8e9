// The level editor screen on a 200 by 200 level, drawn through the real
// renderer with the baked sheets at 1280x720 at zoom 1, 2 and 4 (16 by 9,
// 32 by 18 and 64 by 36 cells in view). Prints the game-side step (the
// editor's passes, queueing included) and the render time per frame; the
// target is a frame under 16 ms at zoom 4. The processor time the whole
// process spent per frame (the renderer's own threads included) is printed
// beside them: it depends less than the wall-clock times on what else the
// machine runs.
#include <time.h>

#include <cstdio>

#include "EditorScene.h"
#include "HeadlessGL.h"

namespace {

// Processor time of the whole process so far, every thread's, in milliseconds.
double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
}

}  // namespace

int main() {
    using namespace scenes;
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    int status = 0;
    {
        EditorScene scene;
        if (!scene.Open(BuildEditorBenchLevel(), "Bench")) {
            std::fprintf(stderr, "the editor did not open the level\n");
            status = 1;
        } else {
            std::printf("level editor: a 200x200 level, %dx%d\n", kWidth, kHeight);
            std::printf("zoom  cells in view  quads/frame  game ms/frame  render ms/frame  frame ms  cpu ms/frame\n");
            const int warmup = 20, frames = 120;
            for (int zoom : {1, 2, 4}) {
                scene.Zoom(zoom);
                double game = 0.0, render = 0.0;
                std::size_t quads = 0;
                double cpuFrom = 0.0;
                for (int f = 0; f < warmup + frames; ++f) {
                    if (f == warmup) cpuFrom = ProcessCpuMs();
                    const EditorScene::Times t = scene.Frame(true);
                    if (f < warmup) continue;
                    game += t.game;
                    render += t.render;
                    quads = t.quads;
                }
                const double cpu = (ProcessCpuMs() - cpuFrom) / frames;
                std::printf("%4d  %13d  %11zu  %13.2f  %15.2f  %8.2f  %12.2f%s\n", zoom, 16 * zoom * 9 * zoom, quads,
                            game / frames, render / frames, (game + render) / frames, cpu,
                            zoom == 4 ? "  (target < 16)" : "");
            }
        }
    }
    gl.Close();
    return status;
}
