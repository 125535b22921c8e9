#pragma once
// "TabManager": the one focus manager of a state. Focusable widgets enrol in
// it when they load and leave it when they unload; it points at the focused
// one, moves the focus on Tab and keeps the repeat filters of the menu
// directions and the select input that the buttons read.
#include <cstdint>
#include <list>

#include "widgets/WidgetTemplate.h"

namespace ObjectData::TabManager {

struct Variables {
    std::list<Entity*> objectList;
    // The focused widget; the list's end means no focus.
    std::list<Entity*>::iterator objectListIterator = objectList.end();
    bool usable = true;
    bool alreadyTabbed = false;
    // The filters start set, so an input already held when the manager is
    // made does not act on its first frame. A widget acts while its filter is clear.
    bool selectButtonWasPressed = true;
    bool upWasPressed = true, downWasPressed = true, leftWasPressed = true, rightWasPressed = true;
    std::int32_t upCounter = 0, downCounter = 0, leftCounter = 0, rightCounter = 0;
    std::int32_t selectCounter = 0;

    Variables() = default;
    // A copy has a list of its own, focused at the same place as the source's.
    Variables(const Variables& other);
    Variables& operator=(const Variables&) = delete;

    bool HasFocus() const { return objectListIterator != objectList.end(); }
    Entity* Focused() const { return HasFocus() ? *objectListIterator : nullptr; }
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

// The manager's variables, or null when entity is not a focus manager.
Variables* Find(Entity* entity);

// The manager's pass, once per frame after every widget's "Behavior".
void GraphicsUpdate(Entity* self, Entity* other);

}  // namespace ObjectData::TabManager
