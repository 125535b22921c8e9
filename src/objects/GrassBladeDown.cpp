#include "objects/GrassBlade.h"

namespace ObjectData::GrassBladeDown {

namespace {
using GrassBlade::Kind;
void Load(Entity* self, Entity*) { GrassBlade::Load(self, Kind::Down); }
void Flatten(Entity* self, Entity*) { GrassBlade::Flatten(self, Kind::Down); }
void Draw(Entity* self, Entity*) { GrassBlade::XGraphicsDraw(self, Kind::Down); }
}  // namespace

void _Init(Object*& slot) { GrassBlade::Register(slot, "GrassBladeDown", Kind::Down, {&Load, &Flatten, &Draw}); }

}  // namespace ObjectData::GrassBladeDown
