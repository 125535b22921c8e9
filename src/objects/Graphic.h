#pragma once
// "Graphic" and "CameraGraphic": a sprite that keeps its place and size on
// the screen whatever the camera does. They share the variable block, the
// copy step and the draw handler; only their defaults differ.
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

class Object;

namespace ObjectData::Graphic {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = "";
};

using _DATA = ObjectTemplate::Data<Variables>;

// "GraphicsDraw": one quad at position and size given in view units.
void DrawScreenFixed(Entity* self, Entity* other);

void _Init(Object*& slot);

}  // namespace ObjectData::Graphic

namespace ObjectData::CameraGraphic {
void _Init(Object*& slot);
}
