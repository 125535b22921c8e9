#pragma once
// The buttons of the stencil panels and of the code block: `StencilButton`s
// that report their label to the object that made them.
class Entity;
class Object;

namespace PanelButtons {

// A `StencilButton` of owner's state, 30 by 30 pixels of that state's window,
// at (x, 0.45), showing and reporting label, with its tool tip; owner is its
// master. Null while the button type is not registered.
Object* Make(Entity* owner, float x, const char* label, const char* toolTip);

// The three buttons every stencil panel edits its rows with.
struct EditButtons {
    Object* apply = nullptr;   // "confirm": the rows into the record
    Object* add = nullptr;     // "Add Stencil": one more row
    Object* remove = nullptr;  // "Delete Stencil": the chosen row away
};

// A panel's edit buttons, dx to the right of their own places (a panel that
// is already hidden makes them off screen with its rows); the add and remove
// buttons' tool tips name what the panel's rows are.
EditButtons MakeEditButtons(Entity* owner, float dx, const char* addTip, const char* removeTip);

}  // namespace PanelButtons
