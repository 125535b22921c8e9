#include "widgets/Slider.h"

#include "framework/Object.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"
#include "widgets/newButton.h"

namespace ObjectData::Slider {

namespace {

VariableOffsetTable table;

constexpr float kDeadZone = 0.04f;
constexpr float kStep = 0.03f;
constexpr float kTop = 0.18f;
constexpr float kBottom = -0.358f;

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Object* cursor = Widgets::FindCursor(self);
    const D3DXVECTOR3* pointer = cursor != nullptr ? FindVariable<D3DXVECTOR3>(cursor, enum_position) : nullptr;
    if (pointer == nullptr || !Mouse.Pressed(0) || !collisionEngine.Check(self, cursor)) return;
    if (pointer->y > v.position.y + kDeadZone) {
        v.position.y += kStep;
        if (v.position.y > kTop) v.position.y = kTop;
    } else if (pointer->y < v.position.y - kDeadZone) {
        v.position.y -= kStep;
        if (v.position.y < kBottom) v.position.y = kBottom;
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Widgets::DrawPicture(v.position.x, v.position.y, 0.0f, v.size.x, v.size.y, v.texture, 0xFFFFFFFFu);
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "Slider", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &newButton::Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Logic", Event());
    prototype->_AddEvent("Hover", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_sliderID, v.sliderID);
    BindVariable(table, *prototype, enum_collision, v.collision);
    BindVariable(table, *prototype, enum_texture, v.texture);
}

}  // namespace ObjectData::Slider
