#pragma once
// Drives the input devices the way the program's threads do, from one test
// thread: synthetic SDL events stand for the window thread, Poll for one
// pass of the input thread, Frame for the game thread's hand-over.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/input/XBox.h"
#include "support/FakeClock.h"

namespace inputtest {

inline bool activeNow = true;
inline bool activeBefore = true;

inline void Key(SDL_Scancode sc, bool down, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = sc;
    e.key.keysym.mod = mod;
    inputEngine.HandleEvent(e);
}

inline void Button(Uint8 sdlButton, bool down, int x = 0, int y = 0) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = sdlButton;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    inputEngine.HandleEvent(e);
}

inline void Motion(int x, int y, int dx, int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    inputEngine.HandleEvent(e);
}

inline void Wheel(int y, bool flipped = false) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    inputEngine.HandleEvent(e);
}

// One pass of the input thread, and one game frame (preceded by a poll).
inline void Poll() { inputEngine.InternalUpdate(); }
inline void Frame() { inputEngine.GameUpdate(); }
inline void PollAndFrame() {
    Poll();
    Frame();
}

// The keyboard and mouse started as the input thread starts them, with the
// window active now and before (activeNow, activeBefore), and stopped again.
inline void StartDevices() {
    ResetInputHooks();
    activeNow = activeBefore = true;
    inputHooks.windowActive = [] { return activeNow; };
    inputHooks.windowWasActive = [] { return activeBefore; };
    Keyboard.Init();
    Mouse.Init();
    inputEngine.InitDIKMap();
    inputEngine.Reset();
}
inline void StopDevices() {
    Keyboard.Free();
    Mouse.Free();
    ResetInputHooks();
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override { StartDevices(); }
    void TearDown() override { StopDevices(); }
    FakeClock clock;
};

}  // namespace inputtest
