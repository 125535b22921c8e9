#pragma once
// "ListButton": the row of the scrolling lists (the level pickers, the
// server list). A "TextButton" that draws only its caption, left-aligned in
// red, and hands its click to the list that owns it.
class Entity;
class Object;

namespace ObjectData::ListButton {

void Differences(Object* object);

// "Logic": raises "Logic" on the row's `master` with (master, row), so the
// list learns which row was clicked.
void Logic(Entity* self, Entity* other);
// "GraphicsDraw": the caption over the row, a tenth taller while hovered.
void GraphicsDraw(Entity* self, Entity* other);

}  // namespace ObjectData::ListButton
