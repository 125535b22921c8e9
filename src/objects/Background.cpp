#include "objects/Background.h"

#include "objects/GameplayHooks.h"

namespace ObjectData::Background {

namespace {

VariableOffsetTable table;

// One quad the width and height of the view, 10000 behind its own depth.
void DrawBackdrop(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    float cameraX = 0.0f, cameraY = 0.0f, r = 1.0f;
    gameplayHooks.camera(cameraX, cameraY, r);
    gameplayHooks.addBackground(cameraX, cameraY, v.z - 10000.0f, gameplayHooks.aspect() / r, 1.0f / r, 0.0f, v.texture,
                                v.color);
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Background", table);
    prototype->_TempAddEngine("Behavior", Event());
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &DrawBackdrop);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_color, v.color);
    BindVariable(table, *prototype, enum_z, v.z);
}

}  // namespace ObjectData::Background
