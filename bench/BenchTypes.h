#pragma once
// The registered types as the program makes them at start (levels, engines,
// objects, then the game, which takes its game-wide engines from the engine
// registry), without those game-wide engines: a benchmark drives its states
// itself, and the sound engine and the window manager's cursor have no place
// in its figures.
#include "framework/Engine.h"
#include "framework/Entity.h"
#include "framework/Game.h"
#include "framework/Level.h"
#include "framework/Object.h"

namespace bench {

inline void RegisterTypes() {
    Level::_FirstInit();
    Engine::_FirstInit();
    Object::_FirstInit();
    Game::_FirstInit();
    if (Game* game = GetMyGame()) game->ClearEngines();
}

}  // namespace bench
