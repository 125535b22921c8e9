#pragma once
// A virtual game controller for the pad tests: SDL's virtual joystick with
// the standard controller layout, its rumble requests recorded.
#include <vector>

#include "InputFixture.h"

namespace inputtest {

struct RumbleCall {
    Uint16 low, high;
};
inline std::vector<RumbleCall> rumbleCalls;

class PadTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        rumbleCalls.clear();
        XBox.Init();
        ASSERT_EQ(XBox.Result(), XBox_::NOT_CONNECTED) << "a real pad is attached";
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test Pad";
        desc.Rumble = [](void*, Uint16 low, Uint16 high) -> int {
            rumbleCalls.push_back({low, high});
            return 0;
        };
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        ClearPad();
        XBox.Update();
        ASSERT_EQ(XBox.Result(), 0);
    }
    void TearDown() override {
        if (stick) SDL_JoystickClose(stick);
        if (device >= 0) SDL_JoystickDetachVirtual(device);
        XBox.Free();
        InputTest::TearDown();
    }

    void Set(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0); }
    void Set(SDL_GameControllerAxis a, Sint16 v) { SDL_JoystickSetVirtualAxis(stick, a, v); }
    void ClearPad() {
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) Set(static_cast<SDL_GameControllerButton>(b), false);
        for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) Set(static_cast<SDL_GameControllerAxis>(a), Sint16(0));
        // A virtual trigger's raw range runs from -32768 (let go) to 32767 (pulled).
        Set(SDL_CONTROLLER_AXIS_TRIGGERLEFT, Sint16(-32768));
        Set(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, Sint16(-32768));
    }

    int device = -1;
    SDL_Joystick* stick = nullptr;
};

}  // namespace inputtest
