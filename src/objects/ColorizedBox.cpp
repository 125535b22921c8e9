#include "objects/ColorizedBox.h"

#include "objects/GameplayHooks.h"

namespace ObjectData::ColorizedBox {

namespace {

VariableOffsetTable table;

void DrawTinted(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    if (v.texture == nullptr) return;
    const std::uint32_t colour =
        (static_cast<std::uint32_t>(v.alpha) & 255u) << 24 | (static_cast<std::uint32_t>(v.red) & 255u) << 16 |
        (static_cast<std::uint32_t>(v.green) & 255u) << 8 | (static_cast<std::uint32_t>(v.blue) & 255u);
    gameplayHooks.addFrame(v.position.x, v.position.y, 0.0f, v.size.x, v.size.y, 0.0f, v.texture, colour);
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "ColorizedBox", table);
    prototype->_TempAddEngine("GraphicsDraw", &DrawTinted);
    prototype->_AddEvent("Load", Event());
    prototype->_AddEvent("Unload", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_red, v.red);
    BindVariable(table, *prototype, enum_green, v.green);
    BindVariable(table, *prototype, enum_blue, v.blue);
    BindVariable(table, *prototype, enum_alpha, v.alpha);
}

}  // namespace ObjectData::ColorizedBox
