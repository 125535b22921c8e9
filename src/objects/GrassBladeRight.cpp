#include "objects/GrassBlade.h"

namespace ObjectData::GrassBladeRight {

namespace {
using GrassBlade::Kind;
void Load(Entity* self, Entity*) { GrassBlade::Load(self, Kind::Right); }
void Flatten(Entity* self, Entity*) { GrassBlade::Flatten(self, Kind::Right); }
void Draw(Entity* self, Entity*) { GrassBlade::XGraphicsDraw(self, Kind::Right); }
}  // namespace

void _Init(Object*& slot) { GrassBlade::Register(slot, "GrassBladeRight", Kind::Right, {&Load, &Flatten, &Draw}); }

}  // namespace ObjectData::GrassBladeRight
