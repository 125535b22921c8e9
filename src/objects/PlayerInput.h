#pragma once
// The player's controls: fixed keys and mouse buttons, the pad and the Wii
// remote, read into the player's eight input variables once per frame.
#include <cstdint>

// The device reads the input pass makes; the defaults read the keyboard,
// mouse and pad of the input layer and the Wii remote's button word through
// the input hooks. Keyboard and mouse read false while the window is inactive.
struct PlayerDevices {
    bool (*keyPressed)(unsigned char scanCode);
    bool (*keyTriggered)(unsigned char scanCode);
    bool (*mousePressed)(unsigned char button);
    bool (*mouseTriggered)(unsigned char button);
    std::uint16_t (*padButtons)();
    short (*stickX)();
    short (*stickY)();
    std::uint16_t (*remoteButtons)();
};

extern PlayerDevices playerDevices;
void ResetPlayerDevices();

struct PlayerInputs {
    bool jumpPressed = false;
    bool jumpTriggered = false;
    bool leftPressed = false;
    bool rightPressed = false;
    bool upPressed = false;
    bool downPressed = false;
    bool grabPressed = false;
    bool grabTriggered = false;
};

// This frame's inputs. The pad's and the remote's buttons have no edges of
// their own: a jump or grab counts as triggered when it is held now and was
// not held in the previous frame (previousJump, previousGrab). The remote
// counts only while wiiControls is set; the pad always counts.
PlayerInputs ReadPlayerInputs(bool previousJump, bool previousGrab, bool wiiControls);

// Thresholds of the left stick (strict comparisons).
constexpr int kStickHorizontal = 10000;
constexpr int kStickVertical = 30000;
