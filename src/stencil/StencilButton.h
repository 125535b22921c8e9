#pragma once
// The stencil screens' buttons. A `StencilButton` is a "Button" whose
// `texture` is its label: a click writes that label into the
// `clickedStencil` of the object its `master` names, and the owner handles
// it in its next frame. Both answer the pointer through ButtonCursorBehavior
// (editor/EditorButton.h), whatever widget has the keyboard. An
// `AddStencilButton` closes its window.
class Entity;
class Object;

namespace ExObjectData {

// "Logic" of a StencilButton: its label into its master's `clickedStencil`.
// Nothing when the master is missing or has no such string.
void StencilButtonClick(Entity* button, Entity* other);

// The differences of "StencilButton" and "AddStencilButton" (base "Button").
void StencilButton(Object* object);
void AddStencilButton(Object* object);

}  // namespace ExObjectData
