#pragma once
// "Firefly": a glowing pick-up that wanders a little, scores when the local
// player touches it, and from then on follows that player in its colour,
// now and then straying off on its own.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Firefly {

struct Variables {
    const char* texture = "firefly";
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 size{1.0f, 1.0f};
    CollisionInfo2D collision;
    float pulse = 0.0f;
    float pulserate = 0.0f;
    float rotaterate = 0.0f;
    bool stray = true;
    std::int32_t counter = 0;
    bool follow = false;
    float frandPosX = 0.0f;
    float frandPosY = 0.0f;
    std::uint32_t color = 0xFFFFFFFFu;
    std::uint32_t fireflyColor = 0xFFFFFFFFu;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void Logic(Entity* self, Entity* player);
void OnNewPlayer(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::Firefly
