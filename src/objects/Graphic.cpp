#include "objects/Graphic.h"

#include "objects/GameplayHooks.h"

namespace ObjectData::Graphic {

namespace {
VariableOffsetTable table;
}

void DrawScreenFixed(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    float cameraX = 0.0f, cameraY = 0.0f, r = 1.0f;
    gameplayHooks.camera(cameraX, cameraY, r);
    gameplayHooks.addFrame(v.position.x / r + cameraX, v.position.y / r + cameraY, v.position.z, v.size.x / r,
                           v.size.y / r, 0.0f, v.texture, 0xFFFFFFFFu);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Graphic", table);
    prototype->_TempAddEngine("GraphicsDraw", &DrawScreenFixed);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
}

}  // namespace ObjectData::Graphic
