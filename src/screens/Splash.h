#pragma once
// What the two splashes and the title screen share: their variables, the
// splashes' copy step and frame counter, and the fade to the next screen.
#include <cstdint>

#include "framework/LevelTemplate.h"

namespace Splash {

struct Variables {
    std::int32_t counter = 0;  // frames shown
    bool skip = false;         // the title: input came, the moon shatters
    Object* background = nullptr;
    Object* background2 = nullptr;
    // Some input was down on the frame before (the screen's own, not a
    // table variable): a control held as the screen opens is no new press.
    bool pressedBefore = true;
};

using _DATA = LevelTemplate::Data<Variables>;

Variables& Vars(Entity* level);

// The splashes' copy step: stars and the fade.
void Copy(Entity* copy, const Entity* source);

// The builders' first step: notes what is held as the screen opens.
void Arm(Entity* level);

// Whether this frame brings a new press of any key, mouse button or pad or
// remote button: something is down that was not on the frame before.
bool NewPress(Variables& v);

// One frame of a splash: Escape quits; a new press ends it at once; after
// 300 frames it ends by itself. Ending raises the level's "Logic", every
// frame until the level changes.
void Count(Entity* level);

// Registers a splash or the title under name: the shared free step, the
// variables, "PreLoad" and "Unload" empty, and the given steps.
_DATA* Register(const char* name, void (*copy)(Entity*, const Entity*), Event load, Event update, Event logic);

}  // namespace Splash
