#pragma once
// "ParaBack": a horizontally tiling strip across the whole view that scrolls
// with the camera at its own parallax rate. "PseudoPara" shares its
// variables: a screen-filling layer that drifts slowly.
#include <cstdint>

#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::ParaBack {

struct Variables {
    const char* texture = "";
    std::uint32_t color = 0xFFB9B9B9u;
    float z = -9999.0f;
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{144.0f, 20.0f};
    D3DXVECTOR2 cameraParallax{0.5f, 0.5f};
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);
void GraphicsDraw(Entity* self, Entity* other);

// Binds the six variables of a prototype of either type.
void BindAll(VariableOffsetTable& table, _DATA& prototype);

}  // namespace ObjectData::ParaBack

namespace ObjectData::PseudoPara {

using Variables = ObjectData::ParaBack::Variables;
using _DATA = ObjectData::ParaBack::_DATA;

void _Init(Object*& slot);
void Behavior(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::PseudoPara
