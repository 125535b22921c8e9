#include <cstdint>

#include "PadFixture.h"

using namespace inputtest;

namespace {
class PadState : public PadTest {};
class PadVibration : public PadTest {};
}  // namespace

TEST_F(PadState, ButtonsAxesAndTriggersReadAsThePadWord) {
    struct Case {
        SDL_GameControllerButton button;
        std::uint16_t bit;
        bool (XBox_::*accessor)() const;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0x0001, &XBox_::Up},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0x0002, &XBox_::Down},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x0004, &XBox_::Left},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x0008, &XBox_::Right},
        {SDL_CONTROLLER_BUTTON_START, 0x0010, &XBox_::Start},
        {SDL_CONTROLLER_BUTTON_BACK, 0x0020, &XBox_::Back},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040, &XBox_::LeftThumb},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080, &XBox_::RightThumb},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0x0100, &XBox_::LeftShoulder},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0x0200, &XBox_::RightShoulder},
        {SDL_CONTROLLER_BUTTON_A, 0x1000, &XBox_::A},
        {SDL_CONTROLLER_BUTTON_B, 0x2000, &XBox_::B},
        {SDL_CONTROLLER_BUTTON_X, 0x4000, &XBox_::X},
        {SDL_CONTROLLER_BUTTON_Y, 0x8000, &XBox_::Y},
        {SDL_CONTROLLER_BUTTON_GUIDE, 0x0000, nullptr},
    };
    for (const Case& c : cases) {
        ClearPad();
        Set(c.button, true);
        XBox.Update();
        EXPECT_EQ(XBox.Buttons(), c.bit) << SDL_GameControllerGetStringForButton(c.button);
        if (c.accessor) {
            EXPECT_TRUE((XBox.*c.accessor)());
        }
    }

    ClearPad();
    Set(SDL_CONTROLLER_AXIS_LEFTX, Sint16(-1234));
    Set(SDL_CONTROLLER_AXIS_LEFTY, Sint16(-32768));  // pushed fully up
    Set(SDL_CONTROLLER_AXIS_RIGHTX, Sint16(32767));
    Set(SDL_CONTROLLER_AXIS_RIGHTY, Sint16(500));  // a little down
    Set(SDL_CONTROLLER_AXIS_TRIGGERLEFT, Sint16(32767));
    Set(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, Sint16(0));  // half way
    const std::uint32_t packet = XBox.PacketNumber();
    XBox.Update();
    EXPECT_EQ(XBox.LeftThumbX(), -1234);
    EXPECT_EQ(XBox.LeftThumbY(), 32767);
    EXPECT_EQ(XBox.RightThumbX(), 32767);
    EXPECT_EQ(XBox.RightThumbY(), -500);
    EXPECT_EQ(XBox.LeftTrigger(), 255);
    EXPECT_EQ(XBox.RightTrigger(), 127);
    EXPECT_NE(XBox.PacketNumber(), packet);
    XBox.Update();
    EXPECT_EQ(XBox.LeftThumbY(), 32767);
    ClearPad();
    XBox.Update();
    EXPECT_EQ(XBox.LeftTrigger(), 0);
    EXPECT_EQ(XBox.RightTrigger(), 0);
}

TEST_F(PadState, UnpluggedPadReadsAllZero) {
    Set(SDL_CONTROLLER_BUTTON_A, true);
    Set(SDL_CONTROLLER_AXIS_LEFTX, Sint16(20000));
    XBox.Update();
    ASSERT_TRUE(XBox.A());
    SDL_JoystickClose(stick);
    stick = nullptr;
    SDL_JoystickDetachVirtual(device);
    device = -1;
    XBox.Update();
    EXPECT_EQ(XBox.Result(), XBox_::NOT_CONNECTED);
    EXPECT_EQ(XBox.Buttons(), 0);
    EXPECT_EQ(XBox.LeftThumbX(), 0);
    EXPECT_FALSE(inputEngine.AnythingPressed());
}

TEST_F(PadState, MenuStickThresholdsAreStrict) {
    // SDL's y grows downward; the pad's grows upward.
    struct Case {
        SDL_GameControllerAxis axis;
        Sint16 value;
        bool up, down, left, right;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_AXIS_LEFTY, -30000, false, false, false, false},
        {SDL_CONTROLLER_AXIS_LEFTY, -30001, true, false, false, false},
        {SDL_CONTROLLER_AXIS_LEFTY, 30000, false, false, false, false},
        {SDL_CONTROLLER_AXIS_LEFTY, 30001, false, true, false, false},
        {SDL_CONTROLLER_AXIS_LEFTX, -30000, false, false, false, false},
        {SDL_CONTROLLER_AXIS_LEFTX, -30001, false, false, true, false},
        {SDL_CONTROLLER_AXIS_LEFTX, 30000, false, false, false, false},
        {SDL_CONTROLLER_AXIS_LEFTX, 30001, false, false, false, true},
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, false, false, false, false},
        {SDL_CONTROLLER_AXIS_RIGHTY, -32768, false, false, false, false},
    };
    for (const Case& c : cases) {
        ClearPad();
        Set(c.axis, c.value);
        XBox.Update();
        EXPECT_EQ(inputEngine.UpPressed(), c.up) << SDL_GameControllerGetStringForAxis(c.axis) << " " << c.value;
        EXPECT_EQ(inputEngine.DownPressed(), c.down) << SDL_GameControllerGetStringForAxis(c.axis) << " " << c.value;
        EXPECT_EQ(inputEngine.LeftPressed(), c.left) << SDL_GameControllerGetStringForAxis(c.axis) << " " << c.value;
        EXPECT_EQ(inputEngine.RightPressed(), c.right) << SDL_GameControllerGetStringForAxis(c.axis) << " " << c.value;
    }
}

TEST_F(PadVibration, EarlierEndTimeIsKeptAndTheMotorsStopOnceReached) {
    const std::uint32_t start = TimeGetTime();
    XBox.Update();
    rumbleCalls.clear();

    XBox.Vibrate(500);
    EXPECT_EQ(XBox.VibrationEndTime(), start + 500);
    XBox.Update();
    ASSERT_EQ(rumbleCalls.size(), 1u);
    EXPECT_EQ(rumbleCalls[0].low, 0xFFFF);
    EXPECT_EQ(rumbleCalls[0].high, 0xFFFF);

    clock.Advance(100);
    XBox.Vibrate(100);
    EXPECT_EQ(XBox.VibrationEndTime(), start + 500) << "the later end of the first request stands";
    clock.Advance(399);
    XBox.Update();
    EXPECT_EQ(rumbleCalls.size(), 1u) << "still running at 499 ms";

    clock.Advance(1);
    XBox.Update();
    ASSERT_EQ(rumbleCalls.size(), 2u);
    EXPECT_EQ(rumbleCalls[1].low, 0);
    EXPECT_EQ(rumbleCalls[1].high, 0);
    clock.Advance(50);
    XBox.Update();
    EXPECT_EQ(rumbleCalls.size(), 2u) << "stopped motors are not stopped again";

    // A longer request after the end moves it; the light form spares the low motor.
    XBox.LightVibrate(200);
    EXPECT_EQ(XBox.VibrationEndTime(), TimeGetTime() + 200);
    XBox.Update();
    ASSERT_EQ(rumbleCalls.size(), 3u);
    EXPECT_EQ(rumbleCalls[2].low, 0);
    EXPECT_EQ(rumbleCalls[2].high, 0xFFFF);
}

namespace {
bool rumbleSwitch, padSwitch, paused;
}  // namespace

TEST_F(PadVibration, StaysOffWhileRumbleOrThePadIsOffOrTheSoundIsPaused) {
    inputHooks.rumbleOn = [] { return rumbleSwitch; };
    inputHooks.xbox360Controls = [] { return padSwitch; };
    inputHooks.soundPaused = [] { return paused; };
    struct Case {
        bool rumble, pad, soundPaused, vibrates;
    };
    const Case cases[] = {
        {true, true, false, true}, {false, true, false, false}, {true, false, false, false},
        {true, true, true, false}, {false, false, true, false},
    };
    for (const Case& c : cases) {
        clock.Advance(2000);
        XBox.Update();  // any earlier vibration has ended
        rumbleCalls.clear();
        rumbleSwitch = c.rumble;
        padSwitch = c.pad;
        paused = c.soundPaused;
        const std::uint32_t end = XBox.VibrationEndTime();
        XBox.Vibrate(1000);
        XBox.LightVibrate(1000);
        XBox.Update();
        EXPECT_EQ(!rumbleCalls.empty(), c.vibrates) << c.rumble << c.pad << c.soundPaused;
        EXPECT_EQ(XBox.VibrationEndTime() != end, c.vibrates) << c.rumble << c.pad << c.soundPaused;
    }
}

TEST_F(PadState, TheWiiRemoteIsNeverTakenForThePad) {
    SDL_JoystickClose(stick);
    stick = nullptr;
    SDL_JoystickDetachVirtual(device);
    device = -1;
    XBox.Update();
    ASSERT_EQ(XBox.Result(), XBox_::NOT_CONNECTED);

    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.vendor_id = 0x057E;
    desc.product_id = 0x0306;
    desc.name = "Remote";
    const int remote = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(remote, 0) << SDL_GetError();
    XBox.Update();
    EXPECT_EQ(XBox.Result(), XBox_::NOT_CONNECTED);
    SDL_JoystickDetachVirtual(remote);
}
