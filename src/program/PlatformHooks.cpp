// The program's life on the real platform: SDL windows served by the main
// thread, the GL renderer with its render thread, the input manager with its
// input thread.
#include <SDL2/SDL.h>

#include "framework/Fatal.h"
#include "framework/Level.h"
#include "framework/StartupTrace.h"
#include "framework/State.h"
#include "platform/graphics/GraphicsEngine.h"
#include "platform/input/Input.h"
#include "platform/window/StateWindows.h"
#include "platform/window/WindowClass.h"
#include "program/Startup.h"

namespace {

bool OpenFirstWindow() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ShowMessage("Window Creation Error!", "Cannot Create Window");
        return false;
    }
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
// unknown level leaves an empty window rather than no program at all.
void CreateFirstState(const char* levelName) {
    if (CreateStateByName(levelName) == nullptr) State::_list.push_back(new State(levelName, true));
}

}  // namespace

StartupHooks PlatformStartupHooks() {
    StartupHooks hooks;
    hooks.openFirstWindow = &OpenFirstWindow;
    hooks.pumpFirstWindow = [] { graphicsEngine.HandleInitialWindow(); };
    hooks.pumpWindows = &WindowClass::PumpOnce;
    hooks.hideAllWindows = &WindowClass::HideAllWindows;
    hooks.serveWindowRequests = &WindowClass::ServeWindowRequests;
    hooks.wireWindows = &InstallStateWindowHooks;
    hooks.inputInit = &StartInput;
    hooks.graphicsInit = &StartGraphics;
    hooks.windowInit = &WindowClass::Init;
    hooks.replaceFirstWindow = [] { graphicsEngine.ReplaceInitialWindow(); };
    hooks.createFirstState = &CreateFirstState;
    return hooks;
}

StartupHooks startupHooks = PlatformStartupHooks();
