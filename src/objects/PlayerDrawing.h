#pragma once
// The player's "GraphicsUpdate" pass (the body's animation, then the respawn
// of a dead player, the trail, splats and paint balls) and its
// "GraphicsDraw" pass.
#include "objects/Player.h"

namespace ObjectData::Player {

void Animate(Entity* self, Entity* other);
void Draw(Entity* self, Entity* other);

// Where a body part at offset lies in the level (z: its depth).
D3DXVECTOR3 PartPlace(const Variables& v, const D3DXVECTOR3& offset);

}  // namespace ObjectData::Player
