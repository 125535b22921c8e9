#include "platform/input/XBox.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "framework/Time.h"
#include "platform/input/InputHooks.h"

XBox_ XBox;

namespace {
// Whether SDL's game-controller layer is started (StartSdl until Free).
std::atomic<bool> sdlStarted{false};

// Wrap-safe "a lies later than b" on the 32-bit millisecond clock.
bool Later(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) > 0; }

// The Wii remote as the system's own joystick layer may list it.
bool IsWiiRemote(int device) {
    return SDL_JoystickGetDeviceVendor(device) == 0x057E && SDL_JoystickGetDeviceProduct(device) == 0x0306;
}

std::int16_t UpIsPositive(Sint16 v) { return static_cast<std::int16_t>(v == -32768 ? 32767 : -v); }

std::uint8_t TriggerByte(Sint16 v) { return static_cast<std::uint8_t>(std::max<int>(0, v) * 255 / 32767); }

struct ButtonBit {
    SDL_GameControllerButton button;
    std::uint16_t bit;
};
const ButtonBit kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, XBox_::DPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, XBox_::DPAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, XBox_::DPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, XBox_::DPAD_RIGHT},
    {SDL_CONTROLLER_BUTTON_START, XBox_::START},
    {SDL_CONTROLLER_BUTTON_BACK, XBox_::BACK},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, XBox_::LEFT_THUMB},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, XBox_::RIGHT_THUMB},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, XBox_::LEFT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, XBox_::RIGHT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_A, XBox_::BUTTON_A},
    {SDL_CONTROLLER_BUTTON_B, XBox_::BUTTON_B},
    {SDL_CONTROLLER_BUTTON_X, XBox_::BUTTON_X},
    {SDL_CONTROLLER_BUTTON_Y, XBox_::BUTTON_Y},
};
}  // namespace

bool XBox_::StartSdl() {
    if (sdlStarted.load()) return true;
    // The pad is read whether or not a window has the focus, and only by
    // the input thread's polls: no pad events go to the window thread.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    // The Wii remote has a driver of its own; SDL must neither open it nor
    // talk to it.
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI_WII, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    SDL_GameControllerEventState(SDL_IGNORE);
    SDL_JoystickEventState(SDL_IGNORE);
    sdlStarted.store(true);
    return true;
}

bool XBox_::Init() {
    if (!sdlReady) sdlReady = StartSdl();
    Update();
    endTime.store(TimeGetTime(), std::memory_order_relaxed);
    return true;
}

void XBox_::Clear() {
    buttons.store(0, std::memory_order_relaxed);
    leftTrigger.store(0, std::memory_order_relaxed);
    rightTrigger.store(0, std::memory_order_relaxed);
    thumbLX.store(0, std::memory_order_relaxed);
    thumbLY.store(0, std::memory_order_relaxed);
    thumbRX.store(0, std::memory_order_relaxed);
    thumbRY.store(0, std::memory_order_relaxed);
}

void XBox_::Read() {
    if (!sdlReady) {
        result.store(NOT_CONNECTED, std::memory_order_relaxed);
        Clear();
        return;
    }
    SDL_GameControllerUpdate();
    if (controller && !SDL_GameControllerGetAttached(controller)) {
        SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    if (!controller) {
        // The first device that is a game controller is the pad.
        const int count = SDL_NumJoysticks();
        for (int i = 0; i < count && !controller; ++i)
            if (SDL_IsGameController(i) && !IsWiiRemote(i)) controller = SDL_GameControllerOpen(i);
        if (controller) applied = requests.load(std::memory_order_relaxed) - 1;  // restate the motors to a new pad
    }
    if (!controller) {
        result.store(NOT_CONNECTED, std::memory_order_relaxed);
        Clear();
        return;
    }

    std::uint16_t word = 0;
    for (const ButtonBit& b : kButtons)
        if (SDL_GameControllerGetButton(controller, b.button)) word |= b.bit;
    const std::uint8_t lt = TriggerByte(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    const std::uint8_t rt = TriggerByte(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    const std::int16_t lx = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    const std::int16_t ly = UpIsPositive(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
    const std::int16_t rx = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
    const std::int16_t ry = UpIsPositive(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTY));

    const bool changed =
        word != buttons.load(std::memory_order_relaxed) || lt != leftTrigger.load(std::memory_order_relaxed) ||
        rt != rightTrigger.load(std::memory_order_relaxed) || lx != thumbLX.load(std::memory_order_relaxed) ||
        ly != thumbLY.load(std::memory_order_relaxed) || rx != thumbRX.load(std::memory_order_relaxed) ||
        ry != thumbRY.load(std::memory_order_relaxed);
    buttons.store(word, std::memory_order_relaxed);
    leftTrigger.store(lt, std::memory_order_relaxed);
    rightTrigger.store(rt, std::memory_order_relaxed);
    thumbLX.store(lx, std::memory_order_relaxed);
    thumbLY.store(ly, std::memory_order_relaxed);
    thumbRX.store(rx, std::memory_order_relaxed);
    thumbRY.store(ry, std::memory_order_relaxed);
    if (changed) packetNumber.fetch_add(1, std::memory_order_relaxed);
    result.store(0, std::memory_order_relaxed);
}

void XBox_::Update() {
    Read();
    const std::uint32_t now = TimeGetTime();
    const std::uint32_t end = endTime.load(std::memory_order_acquire);
    const std::uint32_t asked = requests.load(std::memory_order_acquire);
    if (controller && asked != applied) {
        applied = asked;
        const std::uint32_t levels = motors.load(std::memory_order_relaxed);
        if (Later(end, now)) {
            // The motors run until this thread stops them at the end time; the
            // duration given to the device is only a bound in case it does not.
            const std::uint32_t left = std::min<std::uint32_t>(end - now + 100, 0xFFFF);
            SDL_GameControllerRumble(controller, static_cast<Uint16>(levels >> 16),
                                     static_cast<Uint16>(levels & 0xFFFF), left);
        }
    }
    if (controller && !Later(end, now)) SDL_GameControllerRumble(controller, 0, 0, 0);
}

void XBox_::Request(std::uint16_t low, std::uint16_t high, unsigned ms) {
    if (!PadRumbleAllowed()) return;
    const std::uint32_t wanted = TimeGetTime() + ms;
    std::uint32_t end = endTime.load(std::memory_order_relaxed);
    while (!Later(end, wanted) && !endTime.compare_exchange_weak(end, wanted, std::memory_order_release)) {}
    motors.store(static_cast<std::uint32_t>(low) << 16 | high, std::memory_order_relaxed);
    requests.fetch_add(1, std::memory_order_release);
}

void XBox_::Vibrate(unsigned ms) { Request(0xFFFF, 0xFFFF, ms); }

void XBox_::LightVibrate(unsigned ms) { Request(0, 0xFFFF, ms); }

void XBox_::Free() {
    if (controller) {
        SDL_GameControllerRumble(controller, 0, 0, 0);
        SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    if (sdlReady) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        sdlReady = false;
        sdlStarted.store(false);
    }
    result.store(NOT_CONNECTED, std::memory_order_relaxed);
    Clear();
}
