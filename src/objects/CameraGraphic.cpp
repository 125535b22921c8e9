#include "objects/Graphic.h"

namespace ObjectData::CameraGraphic {

namespace {
VariableOffsetTable table;
}

using ObjectData::Graphic::Variables;

void _Init(Object*& slot) {
    auto* prototype = ObjectTemplate::Begin<Variables>(slot, "CameraGraphic", table);
    prototype->_TempAddEngine("GraphicsDraw", &ObjectData::Graphic::DrawScreenFixed);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    v.size = {1.0f, 1.0f};
    v.texture = "AreYouSure";
}

}  // namespace ObjectData::CameraGraphic
