// The level editor screen on a 200 by 200 level, drawn through the real
// renderer with the baked sheets at 1280x720 at zoom 1, 2 and 4 (16 by 9,
// 32 by 18 and 64 by 36 cells in view). Prints the game-side step (the
// editor's passes, queueing included) and the render time per frame; the
// target is a frame under 16 ms at zoom 4.
#include <cstdio>

#include "EditorScene.h"
#include "HeadlessGL.h"

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
            std::printf("zoom  cells in view  quads/frame  game ms/frame  render ms/frame  frame ms\n");
            const int warmup = 20, frames = 120;
            for (int zoom : {1, 2, 4}) {
                scene.Zoom(zoom);
                double game = 0.0, render = 0.0;
                std::size_t quads = 0;
                for (int f = 0; f < warmup + frames; ++f) {
                    const EditorScene::Times t = scene.Frame(true);
                    if (f < warmup) continue;
                    game += t.game;
                    render += t.render;
                    quads = t.quads;
                }
                std::printf("%4d  %13d  %11zu  %13.2f  %15.2f  %8.2f%s\n", zoom, 16 * zoom * 9 * zoom, quads,
                            game / frames, render / frames, (game + render) / frames,
                            zoom == 4 ? "  (target < 16)" : "");
            }
        }
    }
    gl.Close();
    return status;
}
