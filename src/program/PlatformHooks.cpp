// The program's life on the real platform: SDL windows served by the main
// thread, the GL renderer with its render thread, the input manager with its
// input thread.
#include <SDL2/SDL.h>
#include <unistd.h>

#include <cstdio>

#include "framework/Fatal.h"
#include "framework/Level.h"
#include "framework/Progress.h"
#include "framework/SaveFile.h"
#include "framework/StartupTrace.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/input/XBox.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/GuiWindow.h"
#include "platform/window/StateWindows.h"
#include "platform/window/WindowClass.h"
#include "program/Startup.h"
#include "screens/Eula.h"

namespace {

// The connection to the display is gone (the display closed, or the
// program's connection killed): nothing can be shown or asked of it any more,
// and threads inside its calls never come back. What a quit saves is saved
// from what the game thread kept at its last frame, and the program ends.
[[noreturn]] void DisplayLost() {
    const bool saved = SaveKeptSettings();
    std::fputs(saved ? "glimmerfall: the connection to the display was lost; the settings were saved and the "
                       "program ends\n"
                     : "glimmerfall: the connection to the display was lost; the program ends\n",
               stderr);
    std::fflush(nullptr);
    _exit(1);
}

bool OpenFirstWindow() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ShowMessage("Window Creation Error!", "Cannot Create Window");
        return false;
    }
    // The pad's layer of SDL is started here, on the thread that pumps the
    // events, before the start-up thread runs beside that pump.
    XBox_::StartSdl();
    DisplayLink::Watch(&DisplayLost);
    const bool shown = graphicsEngine.ShowInitialWindow();
    if (shown) TraceStartup("start-up window shown");
    return shown;
}

bool StartInput() {
    if (!inputEngine.Init()) return false;
    AddThreadHandle({"Input Loop", [] { return inputEngine.ThreadFinished(); }, [] { inputEngine.JoinThread(); },
                     [] { inputEngine.DetachThread(); }});
    return true;
}

bool StartGraphics() {
    const bool started = graphicsEngine.FirstInit();
    // A render thread that could not make its device has ended already; it is
    // listed all the same, so that it is joined.
    AddThreadHandle({"Graphics Loop", [] { return graphicsEngine.RenderThreadEnded(); },
                     [] { graphicsEngine.JoinRenderThread(); },
                     [] {
                         if (graphicsEngine.GetRenderThread().joinable()) graphicsEngine.GetRenderThread().detach();
                     }});
    return started;
}

// The first state opens its window whether or not its level exists: an
// unknown level leaves an empty window rather than no program at all. The
// window starts at the main window's size and shape, so that a first screen
// without a size of its own (the level editor) draws as it does when the
// main menu leads to it.
void CreateFirstState(const char* levelName) {
    using namespace LevelData::Eula;
    if (CreateStateByName(levelName, kWidth, kHeight, kResolution) == nullptr)
        State::_list.push_back(new State(levelName, true));
}

// The player's windowed choice is the first window's: the program's main
// window (the editors' dialogs come and go in windows of their own).
bool MainWindowWindowed() {
    State* main = State::_list.empty() ? nullptr : State::_list.front();
    if (main == nullptr || main->window == nullptr) return Progress::Current().windowed;
    return !main->window->IsFullScreenWanted();
}

void WireWindows() {
    InstallStateWindowHooks();
    Progress::hooks.windowedNow = &MainWindowWindowed;
}

}  // namespace

StartupHooks PlatformStartupHooks() {
    StartupHooks hooks;
    hooks.openFirstWindow = &OpenFirstWindow;
    hooks.pumpFirstWindow = [] { graphicsEngine.HandleInitialWindow(); };
    hooks.pumpWindows = &WindowClass::PumpOnce;
    hooks.hideAllWindows = &WindowClass::HideAllWindows;
    hooks.serveWindowRequests = &WindowClass::ServeWindowRequests;
    hooks.wireWindows = &WireWindows;
    hooks.inputInit = &StartInput;
    hooks.graphicsInit = &StartGraphics;
    hooks.windowInit = &WindowClass::Init;
    hooks.replaceFirstWindow = [] { graphicsEngine.ReplaceInitialWindow(); };
    hooks.createFirstState = &CreateFirstState;
    return hooks;
}

StartupHooks startupHooks = PlatformStartupHooks();
