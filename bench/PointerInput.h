#pragma once
// The menus' benchmarks drive the pointer with real mouse events through the
// input layer, with no devices and the one window always active.
#include <SDL2/SDL.h>

#include <cmath>

#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace pointer {

// The keyboard and mouse started, the window active, the game area given,
// the click silent.
inline void Start(GameArea (*area)()) {
    GraphicsEngine::currentGameArea = area;
    inputHooks.windowActive = [] { return true; };
    inputHooks.windowWasActive = [] { return true; };
    Keyboard.Init();
    Mouse.Init();
    inputEngine.InitDIKMap();
    inputEngine.Reset();
    Widgets::hooks.playSound = [](AudioList, float) {};
}

// The window thread's events: the pointer moved to window pixel (x, y) from
// (fromX, fromY), and the left button down or up where the pointer is.
inline void Move(int x, int y, int fromX, int fromY) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = x - fromX;
    e.motion.yrel = y - fromY;
    inputEngine.HandleEvent(e);
}
inline void LeftButton(bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    inputEngine.HandleEvent(e);
}

// Frame f of the pointer circling the middle of a width by height window:
// the motion event, then the input thread's poll and the game's hand-over.
class Circle {
public:
    Circle(int width, int height) : w(width), h(height), x(width / 2), y(height / 2) {}
    void Step(int f) {
        const float a = static_cast<float>(f) * 0.05f;
        const int nx = w / 2 + static_cast<int>(400.0f * std::cos(a));
        const int ny = h / 2 + static_cast<int>(250.0f * std::sin(a));
        Move(nx, ny, x, y);
        x = nx;
        y = ny;
    }

private:
    int w, h, x, y;
};

}  // namespace pointer
