#include "screens/TitleInstruction.h"

#include <cmath>

#include "objects/GameplayHooks.h"
#include "screens/ScreenInput.h"

namespace ObjectData::TitleInstruction {

namespace {
VariableOffsetTable table;
}

int Alpha(const Variables& v) { return static_cast<int>(v.disappear * (std::cos(v.fading) * 64.0f + 76.0f)); }

void Update(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.fading += 0.015f;
    if (screenInput.anythingPressed() || v.disappear < 1.0f) v.disappear *= 0.9f;
}

void Draw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    float cx = 0.0f, cy = 0.0f, s = 1.0f;
    gameplayHooks.camera(cx, cy, s);
    const auto colour = static_cast<std::uint32_t>(Alpha(v)) * 0x1000000u + 0xFFFFFFu;
    gameplayHooks.addFrame(v.position.x / s + cx, v.position.y / s + cy, v.position.z, v.size.x / s, v.size.y / s, 0.0f,
                           v.texture, colour);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TitleInstruction", table);
    prototype->_TempAddEngine("GraphicsUpdate", &Update);
    prototype->_TempAddEngine("GraphicsDraw", &Draw);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_fading, v.fading);
    BindVariable(table, *prototype, enum_disappear, v.disappear);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_color, v.color);
}

}  // namespace ObjectData::TitleInstruction
