#pragma once
// "Button": the focusable button without a caption. It shares the button
// step of "TextButton" and the plain drawing of "newButton", and shows its
// tooltip while it is hovered.
#include <cstdint>
#include <string>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/TextButton.h"

namespace ObjectData::Button {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = "";
    Entity* master = nullptr;
    bool hover = false;
    bool triggered = false;
    bool pressed = false;
    std::uint32_t color = 0xFFFFFFFFu;
    const char* backgroundIdle = "buttonIdle";
    const char* backgroundHover = "buttonHover";
    const char* backgroundPressed = "buttonPressed";
    bool isButton = true;
    std::string toolTip;
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// "Hover" of the plain buttons: the tooltip, a temporary Text in a box of
// three strip pictures beside the pointer, kept on the screen. Nothing while
// "toolTip" is empty.
void Hover(Entity* self, Entity* other);

// Where the tooltip box goes for a pointer at (px, py): its top-left corner
// (left, top) and its size, for a text of `lines` lines whose widest is
// `widest` letter units at letter height charHeight, in a window of the
// given aspect.
struct ToolTipBox {
    float left, top, width, height;
};
ToolTipBox PlaceToolTip(float px, float py, int lines, float widest, float charHeight, float aspect);

}  // namespace ObjectData::Button
