// The game thread: every engine, object, level and state runs here.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Entity.h"
#include "framework/Framerate.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Quit.h"
#include "framework/SaveFile.h"
#include "framework/StartupTrace.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "platform/window/ThreadShare.h"
#include "program/CommandLine.h"
#include "program/Startup.h"

std::atomic<std::uint32_t> FrameStartTime{0};

void GameThread() {
    // The frames a player sees keep their pace on a busy machine: short
    // turns for a prompt wake-up (and the ordinary share for whatever this
    // thread starts), then a larger share than the render thread's and its
    // rasteriser's, so that they do not take its processor mid-frame.
    AskForPromptWakeUps();
    AskForALargerShare();
    std::srand(SystemTimeMs());
    // Levels, engines and objects, then the game entity and its "Load".
    TraceStartup("game thread: started");
    Entity::_FirstInit();
    TraceStartup("game thread: types registered, game loaded");

    // The settings of the last run, whichever screen comes first: a first
    // screen other than the licence must not save defaults over them.
    DataLoad();
    if (startupHooks.replaceFirstWindow != nullptr) startupHooks.replaceFirstWindow();
    // The licence, unless the command line named another screen.
    std::string first = StartScreen().empty() ? "Eula" : StartScreen();
    if (!Level::_IsRegistered(first)) {
        std::fprintf(stderr, "glimmerfall: no screen is called \"%s\"; starting on the licence\n", first.c_str());
        first = "Eula";
    }
    if (startupHooks.createFirstState != nullptr) {
        startupHooks.createFirstState(first.c_str());
    } else {
        State::_list.push_back(new State(first, true));
    }

    while (!Quitting.load()) {
        FrameStartTime.store(TimeGetTime());
        gameFrameRate.StartFRC();
        // The game's and every state's update, then the deferred function,
        // inside one guard: an escaped exception restarts the states.
        State::UpdateAll();
        KeepSettings();
        gameFrameRate.EndFRC();
        State::EndOfFrame();
    }

    // Every end saves what a quit saves: a quit from a menu has saved
    // already, but a window destroyed from outside, a request to end from the
    // system (SIGTERM) or the last state's end has not.
    DataSave();
    // The game's own "Unload", then "Unload" on every game-wide engine.
    Game::Unload();
}
