// The game thread: every engine, object, level and state runs here.
#include <cstdlib>

#include "framework/Entity.h"
#include "framework/Framerate.h"
#include "framework/Game.h"
#include "framework/Quit.h"
#include "framework/State.h"
#include "framework/Time.h"
#include "program/Startup.h"

std::atomic<std::uint32_t> FrameStartTime{0};

void GameThread() {
    std::srand(SystemTimeMs());
    // Levels, engines and objects, then the game entity and its "Load".
    Entity::_FirstInit();

    if (startupHooks.replaceFirstWindow != nullptr) startupHooks.replaceFirstWindow();
    if (startupHooks.createFirstState != nullptr) {
        startupHooks.createFirstState("Eula");
    } else {
        State::_list.push_back(new State("Eula", true));
    }

    while (!Quitting.load()) {
        FrameStartTime.store(TimeGetTime());
        gameFrameRate.StartFRC();
        // The game's and every state's update, then the deferred function,
        // inside one guard: an escaped exception restarts the states.
        State::UpdateAll();
        gameFrameRate.EndFRC();
        State::EndOfFrame();
    }

    // The game's own "Unload", then "Unload" on every game-wide engine.
    Game::Unload();
}
