#include "objects/PlayerInput.h"

#include <initializer_list>

#include "framework/GameVariables.h"
#include "objects/GameplayHooks.h"
#include "objects/Player.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/input/XBox.h"

namespace {

bool KeyPressed(unsigned char key) { return Keyboard.Pressed(key); }
bool KeyTriggered(unsigned char key) { return Keyboard.Triggered(key); }
bool MousePressed(unsigned char button) { return Mouse.Pressed(button); }
bool MouseTriggered(unsigned char button) { return Mouse.Triggered(button); }
std::uint16_t PadButtons() { return XBox.Buttons(); }
short StickX() { return XBox.LeftThumbX(); }
short StickY() { return XBox.LeftThumbY(); }
std::uint16_t RemoteButtons() { return inputHooks.remoteButtons(); }

constexpr PlayerDevices Defaults() {
    return PlayerDevices{&KeyPressed, &KeyTriggered, &MousePressed, &MouseTriggered,
                         &PadButtons, &StickX,       &StickY,       &RemoteButtons};
}

// Scan codes.
constexpr unsigned char kSpace = 57, kUp = 200, kW = 17, kDown = 208, kS = 31, kLeft = 203, kA = 30, kRight = 205,
                        kD = 32, kLeftCtrl = 29, kRightCtrl = 157, kQ = 16, kE = 18;

// Whether any of the keys answers the test; they are tried in order.
bool Any(bool (*test)(unsigned char), std::initializer_list<unsigned char> keys) {
    for (unsigned char key : keys)
        if (test(key)) return true;
    return false;
}

// Bits of the Wii remote's button word, the remote held sideways.
constexpr std::uint16_t kRemoteDown = 0x0001, kRemoteUp = 0x0002, kRemoteRight = 0x0004, kRemoteLeft = 0x0008,
                        kRemoteJump = 0x0100, kRemoteGrab = 0x0200;

}  // namespace

constinit PlayerDevices playerDevices = Defaults();

void ResetPlayerDevices() { playerDevices = Defaults(); }

PlayerInputs ReadPlayerInputs(bool previousJump, bool previousGrab, bool wiiControls) {
    const PlayerDevices& d = playerDevices;
    PlayerInputs in;
    in.jumpTriggered = Any(d.keyTriggered, {kSpace, kUp, kW}) || d.mouseTriggered(0);
    in.jumpPressed = Any(d.keyPressed, {kSpace, kUp, kW}) || d.mousePressed(0);
    in.upPressed = Any(d.keyPressed, {kUp, kW});
    in.downPressed = Any(d.keyPressed, {kDown, kS});
    in.leftPressed = Any(d.keyPressed, {kLeft, kA});
    in.rightPressed = Any(d.keyPressed, {kRight, kD});
    in.grabTriggered = Any(d.keyTriggered, {kLeftCtrl, kRightCtrl, kQ, kE}) || d.mouseTriggered(1);
    in.grabPressed = Any(d.keyPressed, {kLeftCtrl, kRightCtrl, kQ, kE}) || d.mousePressed(1);

    if (wiiControls) {
        const std::uint16_t remote = d.remoteButtons();
        in.leftPressed |= (remote & kRemoteLeft) != 0;
        in.rightPressed |= (remote & kRemoteRight) != 0;
        in.upPressed |= (remote & kRemoteUp) != 0;
        in.downPressed |= (remote & kRemoteDown) != 0;
        in.jumpPressed |= (remote & kRemoteJump) != 0;
        in.grabPressed |= (remote & kRemoteGrab) != 0;
    }

    const std::uint16_t pad = d.padButtons();
    const int x = d.stickX();
    const int y = d.stickY();
    in.leftPressed |= x < -kStickHorizontal || (pad & XBox_::DPAD_LEFT) != 0;
    in.rightPressed |= x > kStickHorizontal || (pad & XBox_::DPAD_RIGHT) != 0;
    in.upPressed |= y > kStickVertical || (pad & XBox_::DPAD_UP) != 0;
    in.downPressed |= y < -kStickVertical || (pad & XBox_::DPAD_DOWN) != 0;
    in.jumpPressed |= (pad & (XBox_::BUTTON_A | XBox_::BUTTON_Y)) != 0;
    in.grabPressed |= (pad & (XBox_::BUTTON_B | XBox_::BUTTON_X)) != 0;

    in.grabTriggered |= in.grabPressed && !previousGrab;
    in.jumpTriggered |= in.jumpPressed && !previousJump;
    return in;
}

namespace ObjectData::Player {

void Behavior(Entity* self, Entity*) {
    Variables& v = Vars(self);
    // While the pause menu is open the keys work the menu, not the player.
    const PlayerInputs in =
        GamePaused ? PlayerInputs{} : ReadPlayerInputs(v.jumpPressed, v.grabPressed, GameVars().wiiControls);
    v.jumpTriggered = in.jumpTriggered;
    v.jumpPressed = in.jumpPressed;
    v.upPressed = in.upPressed;
    v.downPressed = in.downPressed;
    v.leftPressed = in.leftPressed;
    v.rightPressed = in.rightPressed;
    v.grabTriggered = in.grabTriggered;
    v.grabPressed = in.grabPressed;
    self->DoEvent("UpdateBehavior");
}

}  // namespace ObjectData::Player
