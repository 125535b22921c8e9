#include "widgets/DragButton.h"

#include "framework/Object.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"
#include "widgets/newButton.h"

namespace ObjectData::DragButton {

namespace {
VariableOffsetTable table;
}  // namespace

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    Entity* const master = v.master;
    v.triggered = false;
    v.hover = false;
    Object* cursor = Widgets::FindCursor(self);
    const D3DXVECTOR3* pointer = cursor != nullptr ? FindVariable<D3DXVECTOR3>(cursor, enum_position) : nullptr;
    v.oldPosition = v.position;
    if (v.dragging) {
        if (Mouse.Pressed(0)) {
            if (pointer != nullptr) {
                v.position.x = v.snapX ? v.oldPosition.x : pointer->x + v.offset2D.x;
                v.position.y = v.snapY ? v.oldPosition.y : pointer->y + v.offset2D.y;
            }
            return;
        }
        v.dragging = false;
        Widgets::RaiseOwn(self, "StopDragging", master);
    }
    // A handle of no area (a frozen bar's) is never hit.
    if (pointer == nullptr || v.size.x <= 0.0f || v.size.y <= 0.0f || !collisionEngine.Check(self, cursor)) return;
    if (Mouse.Triggered(0)) {
        v.offset2D = {v.position.x - pointer->x, v.position.y - pointer->y};
        v.dragging = true;
        v.triggered = true;
        Widgets::RaiseOwn(self, "StartDragging", master);
    } else {
        v.hover = true;
        Widgets::RaiseOwn(self, "Hover", master);
    }
}

void GraphicsDraw(Entity* self, Entity*) {
    const Variables& v = VariablesOf<Variables>(self);
    Widgets::DrawPicture(v.position.x, v.position.y, v.position.z, v.size.x, v.size.y, v.texture, 0xFFFFFFFFu);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "DragButton", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &newButton::Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("StartDragging", Event());
    prototype->_AddEvent("StopDragging", Event());
    prototype->_AddEvent("Hover", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_snapX, v.snapX);
    BindVariable(table, *prototype, enum_snapY, v.snapY);
    BindVariable(table, *prototype, enum_dragging, v.dragging);
    BindVariable(table, *prototype, enum_master, v.master);
    BindVariable(table, *prototype, enum_hover, v.hover);
    BindVariable(table, *prototype, enum_triggered, v.triggered);
    BindVariable(table, *prototype, enum_oldPosition, v.oldPosition);
    BindVariable(table, *prototype, enum_offset2D, v.offset2D);
    BindVariable(table, *prototype, enum_collision, v.collision);
}

}  // namespace ObjectData::DragButton
