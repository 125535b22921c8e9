#include "objects/Spring.h"

namespace ObjectData::SideSpring2 {

namespace {
using Spring::Kind;
void Load(Entity* self, Entity*) { Spring::Load(self, Kind::Left); }
void Behavior(Entity* self, Entity*) { Spring::Behavior(self, Kind::Left); }
void Logic(Entity* self, Entity*) { Spring::Logic(self, Kind::Left); }
void Draw(Entity* self, Entity*) { Spring::GraphicsDraw(self, Kind::Left); }
}  // namespace

void _Init(Object*& slot) { Spring::Register(slot, "SideSpring2", Kind::Left, {&Load, &Behavior, &Logic, &Draw}); }

}  // namespace ObjectData::SideSpring2
