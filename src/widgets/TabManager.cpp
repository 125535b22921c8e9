#include "widgets/TabManager.h"

#include "platform/input/Input.h"
#include "platform/input/InputHooks.h"
#include "platform/input/Keyboard.h"

namespace ObjectData::TabManager {

namespace {

VariableOffsetTable table;

void Unload(Entity* self, Entity*) { VariablesOf<Variables>(self).usable = false; }

// A held direction acts on its first frame, on its 31st and then every third.
void Repeat(bool pressed, std::int32_t& counter, bool& filter) {
    counter = pressed ? counter + 1 : 0;
    if (counter == 0)
        filter = false;
    else if (counter <= 29)
        filter = true;
    else
        filter = (counter - 30) % 3 != 0;
}

}  // namespace

Variables::Variables(const Variables& other)
    : objectList(other.objectList),
      objectListIterator(objectList.end()),
      usable(other.usable),
      alreadyTabbed(other.alreadyTabbed),
      selectButtonWasPressed(other.selectButtonWasPressed),
      upWasPressed(other.upWasPressed),
      downWasPressed(other.downWasPressed),
      leftWasPressed(other.leftWasPressed),
      rightWasPressed(other.rightWasPressed),
      upCounter(other.upCounter),
      downCounter(other.downCounter),
      leftCounter(other.leftCounter),
      rightCounter(other.rightCounter),
      selectCounter(other.selectCounter) {
    auto mine = objectList.begin();
    for (auto theirs = other.objectList.begin(); theirs != other.objectList.end(); ++theirs, ++mine) {
        if (theirs == other.objectListIterator) {
            objectListIterator = mine;
            break;
        }
    }
}

Variables* Find(Entity* entity) {
    return entity != nullptr && entity->_map == table ? &VariablesOf<Variables>(entity) : nullptr;
}

void GraphicsUpdate(Entity* self, Entity*) {
    Variables& v = VariablesOf<Variables>(self);
    auto& it = v.objectListIterator;

    // Tab as typed, in the frame whose typed text it ends, so that the keys
    // typed after it go to the widget it moves the focus to.
    if (inputHooks.windowActive() && Keyboard.TabTyped()) {
        // From no object, or past the last one, back to the first.
        if (it == v.objectList.end() || ++it == v.objectList.end()) it = v.objectList.begin();
    }

    const bool select = inputEngine.SelectButtonPressed();
    const bool up = inputEngine.UpPressed(), down = inputEngine.DownPressed();
    const bool left = inputEngine.LeftPressed(), right = inputEngine.RightPressed();
    v.selectButtonWasPressed = select;
    v.upWasPressed = up;
    v.downWasPressed = down;
    v.leftWasPressed = left;
    v.rightWasPressed = right;

    // A pad or arrow key brings the focus back to the first widget.
    if ((up || down || left || right) && it == v.objectList.end()) it = v.objectList.begin();

    Repeat(up, v.upCounter, v.upWasPressed);
    Repeat(down, v.downCounter, v.downWasPressed);
    Repeat(left, v.leftCounter, v.leftWasPressed);
    Repeat(right, v.rightCounter, v.rightWasPressed);

    v.selectCounter = select ? v.selectCounter + 1 : 0;
    v.selectButtonWasPressed = v.selectCounter >= 1 && v.selectCounter <= 19;

    v.alreadyTabbed = false;
}

void _Init(Object*& slot) {
    _DATA* prototype = ObjectTemplate::Begin<Variables>(slot, "TabManager", table);
    prototype->_TempAddEngine("GraphicsUpdate", &GraphicsUpdate);
    prototype->_AddEvent("Unload", &Unload);
    ObjectTemplate::StartVariables(prototype, table);
    Variables& v = prototype->vars;
    BindVariable(table, *prototype, enum_objectList, v.objectList);
    BindVariable(table, *prototype, enum_objectListIterator, v.objectListIterator);
    BindVariable(table, *prototype, enum_usable, v.usable);
    BindVariable(table, *prototype, enum_alreadyTabbed, v.alreadyTabbed);
    BindVariable(table, *prototype, enum_selectButtonWasPressed, v.selectButtonWasPressed);
    // Only the up filter and counter have program-wide numbers; the other
    // three directions are reached through the record.
    BindVariable(table, *prototype, enum_upWasPressed, v.upWasPressed);
    BindVariable(table, *prototype, enum_upCounter, v.upCounter);
    BindVariable(table, *prototype, enum_selectCounter, v.selectCounter);
}

}  // namespace ObjectData::TabManager
