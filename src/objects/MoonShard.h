#pragma once
// "MoonShard": the collectable that scores. It floats with a glow and a
// pulsing ring; when the local player touches it, it scores, bursts into
// 240 pieces, rises and fades away, and tells the other peers.
#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::MoonShard {

constexpr int kPieces = 240;

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 size{1.0f, 1.0f};
    CollisionInfo2D collision;
    float pulse = 0.0f;
    float pulserate = 0.0f;
    float rotaterate = 0.0f;
    float moonRadiation = 0.0f;
    float moonRadiationFade = 0.0f;
    float moonRadiationRotation = 0.0f;
    float lightFade = 1.0f;
    float rotation = 0.0f;
    std::int32_t counter = 0;
    float shardAlpha = 1.0f;
    float moonPhase = 0.0f;
    bool shardFollow = false;
    bool shardsVisible = false;
    D3DXVECTOR2 shardPosition[kPieces] = {};
    D3DXVECTOR2 shardVelocity[kPieces] = {};
    float shardRotation[kPieces] = {};
    float shardRotationSpeed[kPieces] = {};
    D3DXVECTOR2 shardSize[kPieces] = {};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void Explode(Entity* self, Entity* other);
void OnNewPlayer(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::MoonShard
