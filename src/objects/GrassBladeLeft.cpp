#include "objects/GrassBlade.h"

namespace ObjectData::GrassBladeLeft {

namespace {
using GrassBlade::Kind;
void Load(Entity* self, Entity*) { GrassBlade::Load(self, Kind::Left); }
void Flatten(Entity* self, Entity*) { GrassBlade::Flatten(self, Kind::Left); }
void Draw(Entity* self, Entity*) { GrassBlade::XGraphicsDraw(self, Kind::Left); }
}  // namespace

void _Init(Object*& slot) { GrassBlade::Register(slot, "GrassBladeLeft", Kind::Left, {&Load, &Flatten, &Draw}); }

}  // namespace ObjectData::GrassBladeLeft
