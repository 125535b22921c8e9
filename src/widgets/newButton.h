#pragma once
// "newButton": a plain mouse-only button whose picture switches between
// "buttonSelected" and "buttonNormal" as the pointer passes over it. Its unit
// also carries the plain button drawing that "Button" shares.
#include <cstdint>
#include <string>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::newButton {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = "";
    Entity* master = nullptr;
    bool hover = false;
    bool triggered = false;
    std::uint32_t color = 0xFFFFFFFFu;
    const char* backgroundIdle = "buttonNormal";
    const char* backgroundHover = "buttonSelected";
    const char* backgroundPressed = "buttonSelected";
    std::string toolTip;
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The plain button picture: camera-relative, a tenth larger and in front
// while hovered.
void DrawPlain(const D3DXVECTOR3& position, const D3DXVECTOR2& size, const char* texture, std::uint32_t color,
               bool hover);

// "Load" of the mouse-only buttons: the unit hit box only.
void Load(Entity* self, Entity* other);
// "GraphicsDraw" of the plain buttons.
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::newButton
