#pragma once
// What the two splashes and the title screen share: their variables, the
// splashes' copy step and frame counter, and the fade to the next screen.
#include <cstdint>

#include "framework/LevelTemplate.h"

namespace Splash {

struct Variables {
    std::int32_t counter = 0;  // frames shown
    bool skip = false;         // input came before the splash may end
    Object* background = nullptr;
    Object* background2 = nullptr;
};

using _DATA = LevelTemplate::Data<Variables>;

Variables& Vars(Entity* level);

// The splashes' copy step: stars and the fade.
void Copy(Entity* copy, const Entity* source);

// One frame of a splash that may end from frame earliest on: Escape quits;
// any input ends it at once from frame earliest, and input before that ends
// it on frame earliest; after 300 frames it ends by itself. Ending raises
// the level's "Logic", every frame until the level changes.
void Count(Entity* level, int earliest);

// Registers a splash or the title under name: the shared free step, the
// variables, "PreLoad" and "Unload" empty, and the given steps.
_DATA* Register(const char* name, void (*copy)(Entity*, const Entity*), Event load, Event update, Event logic);

}  // namespace Splash
