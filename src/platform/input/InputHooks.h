#pragma once
// What the input devices need from the rest of the program, reached through
// small replaceable functions: whether the window being updated is active,
// whether pad vibration is allowed, the Wii remote's share, and the cursor's
// conversion to game coordinates. The defaults stand in until the owners of
// those facts are wired in at start-up; tests replace them to drive input
// without windows, a game entity or a sound engine.
#include <cstdint>

struct InputHooks {
    // The window of the state being updated is active now (with no state
    // being updated: any window of the program is). Default: active.
    bool (*windowActive)();
    // The same as seen at the state's last activity check. Default: active.
    bool (*windowWasActive)();
    // What pad vibration is gated by: the game entity's rumbleOn and
    // xbox360Controls, and the sound engine's pause. Defaults: on, on, not paused.
    bool (*rumbleOn)();
    bool (*xbox360Controls)();
    bool (*soundPaused)();
    // The Wii remote: start, one poll of its driver (input thread), stop,
    // and its button word as the game reads it (0 while the remote is
    // switched off). Defaults: no remote, nothing pressed.
    bool (*remoteInit)();
    void (*remoteUpdate)();
    void (*remoteFree)();
    std::uint16_t (*remoteButtons)();
    // Screen pixels to game coordinates for the cursor. Default: unchanged.
    void (*screenToGame)(int screenX, int screenY, float* gameX, float* gameY);
    // The system's double-click time in milliseconds. Default: 500.
    std::uint32_t (*doubleClickTime)();
};

extern InputHooks inputHooks;

// Vibration of the pad is asked for only while rumble and the pad are
// switched on and the sound is not paused.
bool PadRumbleAllowed();

// Puts every hook back to its default.
void ResetInputHooks();
