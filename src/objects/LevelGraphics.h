#pragma once
// "LevelGraphics": draws the play level's tile grid (grass edges, dirt,
// spikes, breakable blocks), each kind into its own tile list of the frame's
// draw buffer, and simulates and draws the debris of broken blocks in a
// fixed ring.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

class Buffer;
class LevelCollision;

namespace ObjectData::LevelGraphics {

constexpr int kDebrisSlots = 8192;
constexpr int kPiecesPerBreak = 64;

struct Variables {
    D3DXVECTOR2 newBreak{0.0f, 0.0f};
    // No piece is live (y above -1) until the first break.
    D3DXVECTOR2 breakPosition[kDebrisSlots];
    D3DXVECTOR2 breakVelocity[kDebrisSlots] = {};
    D3DXVECTOR2 breakSize[kDebrisSlots] = {};
    float breakRotation[kDebrisSlots] = {};
    float breakRotationSpeed[kDebrisSlots] = {};
    std::int32_t breakCurrent = 0;

    Variables() {
        for (D3DXVECTOR2& p : breakPosition) p = D3DXVECTOR2(0.0f, -2.0f);
    }
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The variant table of the spike pictures.
extern const int kSpikeVariants[32];

// Queues the visible cells of grid for a camera at (x, y) with view height
// scale into buffer.
void DrawCells(Buffer& buffer, const LevelCollision& grid, float x, float y, float scale);
// Sets the buffer's tile lists and lighting for a play level.
void SetUpTileLists(Buffer& buffer);

void GraphicsUpdate(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);
void AddParticles(Entity* self, Entity* other);

}  // namespace ObjectData::LevelGraphics
