#pragma once
// "ShatterMoon": the title screen's big moon. It stands in for the camera
// there, slowly changes tint, and at the first input of any kind shatters
// into 2,048 pieces that drift apart and shrink. The shatter reseeds the
// random generator with a fixed seed, so it looks the same every time.
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::ShatterMoon {

constexpr int kPieces = 2048;
// The last pieces are special: they speed up and some of them grow.
constexpr int kFirstSpecial = 2016;
constexpr unsigned kShatterSeed = 102832;

struct Variables {
    const char* texture = "moon07";
    const char* backTexture = "gmoon07";
    float moonPhase = 0.0f;
    bool shardsVisible = false;
    D3DXVECTOR2 shardPosition[kPieces] = {};
    D3DXVECTOR2 shardVelocity[kPieces] = {};
    float shardRotation[kPieces] = {};
    float shardRotationSpeed[kPieces] = {};
    D3DXVECTOR2 shardSize[kPieces] = {};
    float shardShrink[kPieces] = {};
    float camY = 10.0f;
    float camX = 0.0f;
    float camZoom = 32.0f;
};

using _DATA = ObjectTemplate::Data<Variables>;

// Whether any input is pressed; the input engine's answer unless replaced.
extern bool (*anythingPressed)();

void Load(Entity* self, Entity* other);
void Behavior(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);
// Breaks the moon into its pieces (the shatter's steps after the rumble).
void Shatter(Variables& v);

void _Init(Object*& slot);

}  // namespace ObjectData::ShatterMoon
