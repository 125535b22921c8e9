#pragma once
// "TextButton": the focusable menu button with a caption (a Text object)
// laid out to fill it. Its unit also carries the protocols every focusable
// button shares: enrolling in the state's focus manager, leaving it, and the
// per-frame step that turns the mouse and the focus into "Hover" and "Logic".
#include <cstdint>
#include <string>

#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::TextButton {

struct Variables {
    Object* textObj = nullptr;  // the caption, made by "Load"
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = "";
    Entity* master = nullptr;  // the second argument of every "Hover" and "Logic"
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

// Binds the variables every clickable button shares, in their order, from
// the block v of a Button or a TextButton (the same members by name).
template <class V>
void BindButtonVariables(VariableOffsetTable& table, const Entity& prototype, V& v) {
    BindVariable(table, prototype, enum_position, v.position);
    BindVariable(table, prototype, enum_size, v.size);
    BindVariable(table, prototype, enum_texture, v.texture);
    BindVariable(table, prototype, enum_master, v.master);
    BindVariable(table, prototype, enum_hover, v.hover);
    BindVariable(table, prototype, enum_triggered, v.triggered);
    BindVariable(table, prototype, enum_pressed, v.pressed);
    BindVariable(table, prototype, enum_color, v.color);
    BindVariable(table, prototype, enum_backgroundIdle, v.backgroundIdle);
    BindVariable(table, prototype, enum_backgroundHover, v.backgroundHover);
    BindVariable(table, prototype, enum_backgroundPressed, v.backgroundPressed);
    BindVariable(table, prototype, enum_isButton, v.isButton);
    BindVariable(table, prototype, enum_toolTip, v.toolTip);
    BindVariable(table, prototype, enum_collision, v.collision);
}

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// "AddTabbing": appends self to its state's focus manager, making the
// manager (with no focus) when the state has none.
void AddTabbing(Entity* self, Entity* other);
// The button step, once a frame in "Behavior" and at once on a widget that
// has just been given the focus.
void Behavior(Entity* self, Entity* other);
// The held-repeat button step ("HeldButton"): it answers the pointer even
// while a widget holds the focus, and holding the click on it repeats
// "Logic" after 30 frames and then every 5; the focus part is the plain step's.
void HeldBehavior(Entity* self, Entity* other);

}  // namespace ObjectData::TextButton

namespace ObjectData::Button {
// "RemoveTabbing": takes self out of its state's focus manager, dropping the
// focus when it was on self. Nothing happens once the manager has unloaded.
void RemoveTabbing(Entity* self, Entity* other);
// "Unload" of a focusable button: raises its own "RemoveTabbing".
void Unload(Entity* self, Entity* other);
}  // namespace ObjectData::Button
