#include "widgets/newButton.h"

#include "platform/graphics/GraphicsEngine.h"
#include "platform/graphics/Texture.h"
#include "platform/input/Mouse.h"
#include "widgets/Button.h"
#include "widgets/WidgetSupport.h"

namespace ObjectData::newButton {

namespace {

VariableOffsetTable table;

void Behavior(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    v.triggered = false;
    v.hover = false;
    Object* cursor = Widgets::FindCursor(self);
    if (cursor != nullptr && v.size.x > 0.0f && v.size.y > 0.0f && collisionEngine.Check(self, cursor)) {
        v.hover = true;
        if (Mouse.Triggered(0)) {
            v.triggered = true;
            Widgets::RaiseOwn(self, "Logic", v.master);
            Widgets::PlayClick();
        } else {
            Widgets::RaiseOwn(self, "Hover", v.master);
            v.texture = "buttonSelected";
        }
    } else {
        v.texture = "buttonNormal";
    }
}

}  // namespace

void DrawPlain(const D3DXVECTOR3& position, const D3DXVECTOR2& size, const char* texture, std::uint32_t color,
               bool hover) {
    Buffer* buffer = graphicsEngine.GetCurrentBuffer();
    if (buffer == nullptr) return;
    float cx = 0.0f, cy = 0.0f, r = 1.0f;
    Widgets::Camera(cx, cy, r);
    const float k = hover ? 1.1f : 1.0f;
    const float depth = hover ? position.z + 1.0f : position.z;
    graphicsEngine.AddFrame(position.x / r + cx, position.y / r + cy, depth, size.x / r * k, size.y / r * k, 0.0f,
                            FrameMap(texture != nullptr ? texture : "", 0, 0), static_cast<int>(color));
}

void Load(Entity* self, Entity*) {
    if (auto* collision = FindVariable<CollisionInfo2D>(self, enum_collision)) Widgets::AddUnitBox(*collision);
}

void GraphicsDraw(Entity* self, Entity*) {
    D3DXVECTOR3* position = FindVariable<D3DXVECTOR3>(self, enum_position);
    D3DXVECTOR2* size = FindVariable<D3DXVECTOR2>(self, enum_size);
    const char** texture = FindVariable<const char*>(self, enum_texture);
    std::uint32_t* color = FindVariable<std::uint32_t>(self, enum_color);
    bool* hover = FindVariable<bool>(self, enum_hover);
    if (!position || !size || !texture || !color || !hover) return;
    DrawPlain(*position, *size, *texture, *color, *hover);
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "newButton", table);
    prototype->_TempAddEngine("Behavior", &Behavior);
    prototype->_TempAddEngine("GraphicsUpdate", Event());
    prototype->_TempAddEngine("GraphicsDraw", &GraphicsDraw);
    prototype->_AddEvent("Load", &Load);
    prototype->_AddEvent("Unload", Event());
    prototype->_AddEvent("NoGraphicsDraw", Event());
    prototype->_AddEvent("Logic", Event());
    prototype->_AddEvent("Hover", &Button::Hover);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_position, v.position);
    BindVariable(table, *prototype, enum_size, v.size);
    BindVariable(table, *prototype, enum_texture, v.texture);
    BindVariable(table, *prototype, enum_master, v.master);
    BindVariable(table, *prototype, enum_hover, v.hover);
    BindVariable(table, *prototype, enum_triggered, v.triggered);
    BindVariable(table, *prototype, enum_color, v.color);
    BindVariable(table, *prototype, enum_backgroundIdle, v.backgroundIdle);
    BindVariable(table, *prototype, enum_backgroundHover, v.backgroundHover);
    BindVariable(table, *prototype, enum_backgroundPressed, v.backgroundPressed);
    BindVariable(table, *prototype, enum_toolTip, v.toolTip);
    BindVariable(table, *prototype, enum_collision, v.collision);
}

}  // namespace ObjectData::newButton
