#pragma once
// "FakeBrokenTerrain": one per breakable cell of a networked match; when its
// cell is broken it tells a client that joins later to remove terrain.
#include "framework/ObjectTemplate.h"

namespace ObjectData::FakeBrokenTerrain {

struct Variables {
    bool broken = false;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);
void OnNewPlayer(Entity* self, Entity* other);

}  // namespace ObjectData::FakeBrokenTerrain
