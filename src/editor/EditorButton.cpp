#include "editor/EditorButton.h"

#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::EditorButton {

namespace {

VariableOffsetTable table;

void Load(Entity* self, Entity*) {
    // Its hit area reaches right of and above its position.
    VariablesOf<Variables>(self).collision.AddRectangle(0.0f, 1.0f, 1.0f, 0.0f);
}

void GraphicsDraw(Entity* self, Entity*) {
    if (graphicsEngine.GetCurrentBuffer() == nullptr) return;
    const Variables& v = VariablesOf<Variables>(self);
    graphicsEngine.AddFrame(v.position.x, v.position.y, 0.0f, v.size.x, v.size.y, 0.0f,
                            FrameMap(v.texture != nullptr ? v.texture : "", 0, 0), -1);
}

}  // namespace

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "EditorButton", table);
    prototype->_TempAddEngine("Behavior", &ExObjectData::ButtonCursorBehavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("Logic", Event());
    prototype->_AddEvent("Hover", Event());
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_baseTexture, v.baseTexture);
    BindVariable(table, *prototype, enum_hoverTexture, v.hoverTexture);
    BindVariable(table, *prototype, enum_hitTexture, v.hitTexture);
    BindVariable(table, *prototype, enum_overlay, v.overlay);
    BindVariable(table, *prototype, enum_collision, v.collision);
}

}  // namespace ObjectData::EditorButton

namespace ExObjectData {

void ButtonCursorBehavior(Entity* self, Entity*) {
    Object* cursor = Widgets::FindCursor(self);
    if (cursor == nullptr || !collisionEngine.Check(self, cursor)) return;
    Widgets::RaiseOwn(self, Mouse.Triggered(0) ? "Logic" : "Hover", self);
}

}  // namespace ExObjectData
