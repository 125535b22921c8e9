// The main menu as the game builds it (its buttons, the moon, the preview
// character, the stars, the fade), with the pointer circling over it so the
// moon cursor's trail is alive, moved by real mouse events through the input
// layer; drawn through the real renderer with the baked sheets at 1280x720.
// Prints the game-side step and the render time per frame (target 16 ms).
#include <SDL2/SDL.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "HeadlessGL.h"
#include "Scenes.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace {

GameArea Area() { return GameArea{0, 0, scenes::kWidth, scenes::kHeight, scenes::kAspect, scenes::kHeight}; }

void Motion(int x, int y, int dx, int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    inputEngine.HandleEvent(e);
}

}  // namespace

int main() {
    using namespace scenes;
    if (!SDL_getenv("ALSOFT_DRIVERS")) SDL_setenv("ALSOFT_DRIVERS", "null", 1);
    HeadlessGL gl;
    if (!gl.Open(graphicsEngine, kWidth, kHeight, true)) return 1;
    {
        LevelStarts scene;
        GraphicsEngine::currentGameArea = &Area;
        inputHooks.windowActive = [] { return true; };
        inputHooks.windowWasActive = [] { return true; };
        Keyboard.Init();
        Mouse.Init();
        inputEngine.InitDIKMap();
        inputEngine.Reset();
        Widgets::hooks.playSound = [](AudioList, float) {};

        State* state = scene.Open("MainMenu");
        LevelStarts::Run(state, 1);
        const int warmup = 60, frames = 240;
        double gameMs = 0.0, renderMs = 0.0;
        int mx = kWidth / 2, my = kHeight / 2;
        for (int f = 0; f < warmup + frames; ++f) {
            const float a = static_cast<float>(f) * 0.05f;
            const int nx = kWidth / 2 + static_cast<int>(400.0f * std::cos(a));
            const int ny = kHeight / 2 + static_cast<int>(250.0f * std::sin(a));
            Motion(nx, ny, nx - mx, ny - my);
            mx = nx;
            my = ny;
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
