#include "objects/Spring.h"

namespace ObjectData::SideSpring {

namespace {
using Spring::Kind;
void Load(Entity* self, Entity*) { Spring::Load(self, Kind::Right); }
void Behavior(Entity* self, Entity*) { Spring::Behavior(self, Kind::Right); }
void Logic(Entity* self, Entity*) { Spring::Logic(self, Kind::Right); }
void Draw(Entity* self, Entity*) { Spring::GraphicsDraw(self, Kind::Right); }
}  // namespace

void _Init(Object*& slot) { Spring::Register(slot, "SideSpring", Kind::Right, {&Load, &Behavior, &Logic, &Draw}); }

}  // namespace ObjectData::SideSpring
