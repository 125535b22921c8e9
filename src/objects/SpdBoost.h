#pragma once
// "SpdBoost": three small lights circling a centre. While the local player
// touches it, it refills the player's speed-boost time and takes on the
// player's colour.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::SpdBoost {

struct Variables {
    const char* textureFront = "spdBoost";
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 size{0.8f, 0.8f};
    CollisionInfo2D collision;
    std::uint32_t boostColor = 0xFFFFFFFFu;
    float pulse = 0.0f;
    float pulserate = 0.0f;
    float rotaterate = 0.0f;
    float rotation = 0.0f;
    bool stray = false;
    std::int32_t counter = 0;
    bool follow = false;
    bool triggered = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void Logic(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::SpdBoost
