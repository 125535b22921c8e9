#pragma once
// "Checkpoint": a respawn point. The local player's first touch lights it,
// scores the checkpoint bonus once and moves the game's respawn point here;
// the other machines of a match are told and light theirs without scoring.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Checkpoint {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    // A firefly's base size; without one the checkpoint would draw nothing.
    D3DXVECTOR2 size{0.5f, 0.5f};
    CollisionInfo2D collision;
    float pulse = 0.0f;
    float pulserate = 0.0f;
    float rotaterate = 0.0f;
    float rotation = 0.0f;
    std::int32_t counter = 0;
    bool follow = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

}  // namespace ObjectData::Checkpoint
