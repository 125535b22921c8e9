#pragma once
// Grass blades: "GrassBlade" (on a floor), "GrassBladeDown" (hanging from a
// ceiling), "GrassBladeLeft" and "GrassBladeRight" (on walls). They join no
// engine: the level's "GrassManager" raises "Flatten" on the blades near each
// player and "XGraphicsDraw" on the blades near the camera.
#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::GrassBlade {

struct Variables {
    const char* texture = "grassblade";
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{1.5f, 0.05f};
    CollisionInfo2D collision;
    float grassDance = 0.0f;
    float grassRotation = 0.0f;
    D3DXVECTOR2 grassDir{0.0f, 0.0f};
    float unRotate = 0.0f;
};

using _DATA = ObjectTemplate::Data<Variables>;

enum class Kind { Up, Down, Left, Right };

// The rest angle of a blade of that kind (its full length).
float RestAngle(Kind kind);
// The share of the bend kept each drawn frame.
float SpringBack(Kind kind);

// The handlers of one kind.
void Load(Entity* self, Kind kind);
void Flatten(Entity* self, Kind kind);
void XGraphicsDraw(Entity* self, Kind kind);

struct Handlers {
    Event::Handler load, flatten, draw;
};
void Register(Object*& slot, const char* typeName, Kind kind, const Handlers& handlers);

void _Init(Object*& slot);

}  // namespace ObjectData::GrassBlade

namespace ObjectData::GrassBladeDown {
void _Init(Object*& slot);
}
namespace ObjectData::GrassBladeLeft {
void _Init(Object*& slot);
}
namespace ObjectData::GrassBladeRight {
void _Init(Object*& slot);
}
