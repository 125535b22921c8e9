#pragma once
// "Spring", "SideSpring" and "SideSpring2": pads that throw the local
// player, straight up or up and to the right or left. Each draws a body that
// stretches and a plate that moves out when it fires and settles back. The
// three share their variables and handlers; only the trigger test, the
// launch's sideways speed and the tilt differ.
#include "collision/CollisionEngine.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::Spring {

struct Variables {
    const char* textureFront = "springFront";
    const char* textureBack = "springBack";
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 velocity{0.0f, 0.0f};
    D3DXVECTOR2 size{1.0f, 1.0f};
    CollisionInfo2D collision;
    float spring = 0.0f;
    float springGoal = 0.0f;
    float rotation = 0.0f;  // numbered for "Spring" only; unused by the handlers
};

using _DATA = ObjectTemplate::Data<Variables>;

enum class Kind { Up, Right, Left };

// The handlers of one kind.
void Load(Entity* self, Kind kind);
void Behavior(Entity* self, Kind kind);
void Logic(Entity* self, Kind kind);
void GraphicsDraw(Entity* self, Kind kind);

// Registers a spring type of that kind; the side springs also take the empty
// "GraphicsUpdate" engine.
struct Handlers {
    Event::Handler load, behavior, logic, draw;
};
void Register(Object*& slot, const char* typeName, Kind kind, const Handlers& handlers);

void _Init(Object*& slot);

}  // namespace ObjectData::Spring

namespace ObjectData::SideSpring {
void _Init(Object*& slot);
}

namespace ObjectData::SideSpring2 {
void _Init(Object*& slot);
}
