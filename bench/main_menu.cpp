// The main menu as the game builds it (its buttons, the moon, the preview
// character, the stars, the fade), with the pointer circling over it so the
// moon cursor's trail is alive, moved by real mouse events through the input
// layer; drawn through the real renderer with the baked sheets at 1280x720.
// Prints the game-side step and the render time per frame (target 16 ms).
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdio>

#include "HeadlessGL.h"
#include "PointerInput.h"
#include "Scenes.h"

namespace {
GameArea Area() { return GameArea{0, 0, scenes::kWidth, scenes::kHeight, scenes::kAspect, scenes::kHeight}; }
}  // namespace

int main() {
    using namespace scenes;
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    {
        LevelStarts scene;
        pointer::Start(&Area);

        State* state = scene.Open("MainMenu");
        LevelStarts::Run(state, 1);
        const int warmup = 60, frames = 240;
        double gameMs = 0.0, renderMs = 0.0;
        pointer::Circle circle(kWidth, kHeight);
        for (int f = 0; f < warmup + frames; ++f) {
            circle.Step(f);
            const auto g0 = std::chrono::steady_clock::now();
            inputEngine.InternalUpdate();
            inputEngine.GameUpdate();
            state->Update();
            State::RemoveDeletedObjects();
            State::RemoveDeletedEngines();
            const auto g1 = std::chrono::steady_clock::now();
            graphicsEngine.DrawAll();
            glFinish();
            const auto r1 = std::chrono::steady_clock::now();
            if (f >= warmup) {
                gameMs += std::chrono::duration<double, std::milli>(g1 - g0).count();
                renderMs += std::chrono::duration<double, std::milli>(r1 - g1).count();
            }
        }
        std::printf("main menu, the pointer moving, %dx%d (%s)\n", kWidth, kHeight,
                    state->GetLevelName() == "MainMenu" ? "shown" : "NOT SHOWN");
        std::printf("quads/frame  game ms/frame  render ms/frame  frame ms (target < 16)\n");
        std::printf("%11zu  %13.2f  %15.2f  %8.2f\n", scene.LastQuads(), gameMs / frames, renderMs / frames,
                    (gameMs + renderMs) / frames);
        LevelStarts::Close(state);
    }
    gl.Close();
    return 0;
}
