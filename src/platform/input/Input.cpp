#include "platform/input/Input.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "framework/Framerate.h"
#include "framework/Quit.h"
#include "platform/input/InputHooks.h"
#include "platform/input/KeyCodes.h"
#include "platform/input/Keyboard.h"
#include "platform/input/Mouse.h"
#include "platform/input/XBox.h"

Input_ inputEngine;

namespace {
// The Wii remote's button bits as the menus read them, the remote held sideways.
constexpr std::uint16_t kRemoteUp = 0x0002, kRemoteDown = 0x0001, kRemoteLeft = 0x0008, kRemoteRight = 0x0004,
                        kRemoteOne = 0x0200, kRemoteTwo = 0x0100, kRemotePlus = 0x0010, kRemoteHome = 0x8000,
                        kRemoteA = 0x0800;

bool Remote(std::uint16_t mask) { return (inputHooks.remoteButtons() & mask) != 0; }

// SDL's mouse buttons in the program's numbering: 0 left, 1 right, 2 middle, then the side buttons.
int MouseButton(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        case SDL_BUTTON_X2: return 4;
        default: return -1;
    }
}

// A window-relative position in screen pixels (tests send events without a window).
void ToScreen(Uint32 windowID, int x, int y, int* sx, int* sy) {
    int wx = 0, wy = 0;
    if (windowID) {
        if (SDL_Window* w = SDL_GetWindowFromID(windowID)) SDL_GetWindowPosition(w, &wx, &wy);
    }
    *sx = wx + x;
    *sy = wy + y;
}
}  // namespace

bool Input_::Init() {
    bool ok = Keyboard.Init();
    ok = ok && Mouse.Init();
    ok = ok && inputHooks.remoteInit();
    ok = ok && XBox.Init();
    (void)ok;
    InitDIKMap();
    if (inputThread.joinable()) return true;  // already running
    threadFinished.store(false);
    inputThread = std::thread([] {
        Execute(nullptr);
        inputEngine.threadFinished.store(true);
    });
    return true;
}

unsigned long Input_::Execute(void*) {
    Framerate framerate("Input Loop", 120);
    while (!Quitting.load()) {
        framerate.StartFRC();
        inputEngine.InternalUpdate();
        framerate.EndFRC();
    }
    return 0;
}

void Input_::InternalUpdate() {
    Keyboard.Update();
    Mouse.Update();
    inputHooks.remoteUpdate();
    XBox.Update();
    std::lock_guard<std::recursive_mutex> hold(Critical);
    Keyboard.SendStateToStream();
    Mouse.SendStateToStream();
    pollCount.fetch_add(1);
}

void Input_::GameUpdate() {
    std::lock_guard<std::recursive_mutex> hold(Critical);
    Keyboard.GetStateFromStream();
    Mouse.GetStateFromStream();
}

void Input_::Reset() {
    Mouse.Reset();
    Keyboard.Reset();
    {
        // What the mouse collected before the reset is not a new press after it.
        std::lock_guard<std::recursive_mutex> hold(Critical);
        Mouse.SettleOnNewest();
    }
    for (int i = 0; i < 2; ++i) {
        std::lock_guard<std::recursive_mutex> hold(Critical);
        // The keys typed and not yet taken are the next frame's.
        Keyboard.GetStateFromStream(false);
        Mouse.GetStateFromStream();
    }
}

void Input_::Free() {
    if (inputThread.joinable() && threadFinished.load()) inputThread.join();
    Mouse.Free();
    Keyboard.Free();
    inputHooks.remoteFree();
    // A pad is only closed once nothing polls it any more.
    if (!inputThread.joinable()) XBox.Free();
}

void Input_::JoinThread() {
    if (inputThread.joinable()) inputThread.join();
}

void Input_::DetachThread() {
    if (inputThread.joinable()) inputThread.detach();
}

void Input_::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Keyboard.DeviceCapsLock((event.key.keysym.mod & KMOD_CAPS) != 0);
            if (unsigned char key = DikFromScancode(event.key.keysym.scancode))
                Keyboard.DeviceKey(key, event.type == SDL_KEYDOWN, event.key.repeat != 0);
            break;
        }
        case SDL_MOUSEMOTION: {
            Mouse.DeviceMove(event.motion.xrel, event.motion.yrel);
            int sx, sy;
            ToScreen(event.motion.windowID, event.motion.x, event.motion.y, &sx, &sy);
            Mouse.DeviceCursor(sx, sy);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int sx, sy;
            ToScreen(event.button.windowID, event.button.x, event.button.y, &sx, &sy);
            Mouse.DeviceCursor(sx, sy);
            int b = MouseButton(event.button.button);
            if (b >= 0) Mouse.DeviceButton(static_cast<unsigned char>(b), event.type == SDL_MOUSEBUTTONDOWN);
            break;
        }
        case SDL_MOUSEWHEEL: {
            int steps = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
            Mouse.DeviceWheel(steps * 120);
            break;
        }
        default: break;
    }
}

int Input_::GetMappedKey(int action) const {
    auto it = keyMap.find(action);
    return it == keyMap.end() ? 0 : it->second;
}

void Input_::SetMappedKey(int action, int key) { keyMap[action] = static_cast<unsigned char>(key & 0xFF); }

std::string Input_::GetMappedString(int key) const {
    auto it = DIKNameTable.find(key);
    if (it == DIKNameTable.end() || it->second.empty()) return "UNKNOWN";
    return it->second;
}

void Input_::InitDIKMap() {
    for (std::size_t i = 0; i < DIKNameCount; ++i) DIKNameTable[DIKNames[i].code] = DIKNames[i].name;
}

bool Input_::AnythingPressed() const {
    return Keyboard.AnyPressed() || Mouse.AnyPressed() || Remote(kRemoteA | kRemotePlus | kRemoteOne | kRemoteTwo) ||
           XBox.A() || XBox.B() || XBox.X() || XBox.Y() || XBox.Start();
}

bool Input_::AnythingTriggered() const { return Keyboard.AnyTriggered() || Mouse.AnyTriggered(); }

bool Input_::AnythingReleased() const { return Keyboard.AnyReleased() || Mouse.AnyReleased(); }

int Input_::UseCount() const { return std::max(Keyboard.UseCount(), Mouse.UseCount()); }

int Input_::LastUsed() const { return std::min(Keyboard.LastUsed(), Mouse.LastUsed()); }

bool Input_::EverUsed() const { return Keyboard.EverUsed() || Mouse.EverUsed(); }

bool Input_::SelectButtonPressed() const {
    return Keyboard.Pressed(DIK_RETURN) || Keyboard.Pressed(DIK_SPACE) || Remote(kRemoteTwo) || XBox.A();
}

bool Input_::PauseButtonPressed() const {
    return Keyboard.Pressed(DIK_RETURN) || Keyboard.Pressed(DIK_ESCAPE) || Keyboard.Pressed(DIK_P) ||
           Remote(kRemoteHome | kRemotePlus) || XBox.Start();
}

bool Input_::MenuPauseButtonPressed() const {
    return Keyboard.Pressed(DIK_ESCAPE) || Keyboard.Pressed(DIK_P) || Remote(kRemoteHome | kRemotePlus) || XBox.Start();
}

bool Input_::BackButtonPressed() const {
    return Keyboard.Pressed(DIK_ESCAPE) || Remote(kRemoteOne) || XBox.B() || XBox.Back();
}

namespace {
// W, A, S and D stand for the arrows, but not under Ctrl: Ctrl with a letter
// is a command (the level editor's Ctrl+A selects all) and moves no focus.
bool DirectionLetter(unsigned char key) {
    return Keyboard.Pressed(key) && !Keyboard.Pressed(DIK_LCONTROL) && !Keyboard.Pressed(DIK_RCONTROL);
}
}  // namespace

bool Input_::UpPressed() const {
    return Keyboard.Pressed(DIK_UP) || DirectionLetter(DIK_W) || Remote(kRemoteUp) ||
           XBox.LeftThumbY() > STICK_THRESHOLD || XBox.Up();
}

bool Input_::DownPressed() const {
    return Keyboard.Pressed(DIK_DOWN) || DirectionLetter(DIK_S) || Remote(kRemoteDown) ||
           XBox.LeftThumbY() < -STICK_THRESHOLD || XBox.Down();
}

bool Input_::LeftPressed() const {
    return Keyboard.Pressed(DIK_LEFT) || DirectionLetter(DIK_A) || Remote(kRemoteLeft) ||
           XBox.LeftThumbX() < -STICK_THRESHOLD || XBox.Left();
}

bool Input_::RightPressed() const {
    return Keyboard.Pressed(DIK_RIGHT) || DirectionLetter(DIK_D) || Remote(kRemoteRight) ||
           XBox.LeftThumbX() > STICK_THRESHOLD || XBox.Right();
}
