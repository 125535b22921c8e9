#pragma once
// "Cursor": the on-screen pointer. It stands where the mouse is, in the game
// units of its state's window, and trails a ring of small tumbling moon
// shards while it moves. Every widget tests itself against its point shape.
#include <cstdint>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::Cursor {

constexpr int kShards = 4096;

struct Variables {
    float moonPhase = 0.0f;
    D3DXVECTOR3 position{0.0f, 0.0f, 10000.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};  // unit vector of the heading
    D3DXVECTOR2 size{0.0f, 0.0f};      // the picture, in window pixels
    std::int32_t ownerID = 0;
    const char* texture = "";
    bool visible = true;
    CollisionInfo2D collision;
    float rotation = 0.0f;  // the heading, radians
    std::int32_t currentShard = 0;
    D3DXVECTOR2 shardPosition[kShards] = {};
    D3DXVECTOR2 shardVelocity[kShards] = {};
    float shardRotation[kShards] = {};
    float shardRotationSpeed[kShards] = {};
    D3DXVECTOR2 shardSize[kShards] = {};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The pointer's tint for a moon phase: blue 240, red and green between 159 and 255.
std::uint32_t Tint(float moonPhase);

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::Cursor
