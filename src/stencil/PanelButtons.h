#pragma once
// The buttons of the functions panel and of the code block: `StencilButton`s
// that report their label to the object that made them.
class Entity;
class Object;

namespace PanelButtons {

// A `StencilButton` of owner's state, 30 by 30 pixels of that state's window,
// at (x, 0.45), showing and reporting label, with its tool tip; owner is its
// master. Null while the button type is not registered.
Object* Make(Entity* owner, float x, const char* label, const char* toolTip);

}  // namespace PanelButtons
