#pragma once
// "DragButton": a handle that follows the pointer while the left button,
// pressed on it, stays down; the thumb of the scroll bars, which lock one of
// its axes. It raises "StartDragging", "StopDragging" and "Hover" on itself
// with (self, master).
#include "collision/CollisionEngine.h"
#include "framework/Vector.h"
#include "widgets/WidgetTemplate.h"

namespace ObjectData::DragButton {

struct Variables {
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 size{0.0f, 0.0f};
    const char* texture = "";
    bool snapX = false;  // dragging never changes x
    bool snapY = false;  // dragging never changes y
    bool dragging = false;
    Entity* master = nullptr;
    bool hover = false;      // this frame: the pointer is over it without a click
    bool triggered = false;  // this frame: a drag started
    D3DXVECTOR3 oldPosition{0.0f, 0.0f, 0.0f};
    D3DXVECTOR2 offset2D{0.0f, 0.0f};  // position minus the pointer at the grabbing click
    CollisionInfo2D collision;
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The handle's variables, or null for other objects.
Variables* Find(Entity* entity);

void Behavior(Entity* self, Entity* other);
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::DragButton
