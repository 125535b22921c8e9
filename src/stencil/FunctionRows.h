#pragma once
// What the stencil panels and the code block share: their rows (one-line
// boxes standing for one field of the record each) and their buttons
// (`StencilButton`s that report their label to the panel).
#include <string>
#include <vector>

#include "framework/Vector.h"

class Entity;
class Object;

namespace FunctionRows {

// The first row's centre; each further row lies one row height lower.
constexpr float kFirstRowY = 0.3875f;
constexpr float kRowHeight = 0.025f;

// A row in panel's state: a "SingleLineTextBox" showing text at (x, y),
// width by one row high on colour, highlighted under the pointer and while
// it has the keyboard, its settings applied. Null when no box can be made.
Object* MakeRow(Entity* panel, const std::string& text, float x, float y, float width, const D3DXVECTOR3& colour);

// Where a row appended to the column goes: one row below its last row, or
// the first row's place in an empty column.
float NextRowY(const std::vector<Object*>& column);

// The text a row shows (empty for no row).
std::string Text(Entity* row);
// Whether the row has the keyboard.
bool Selected(Entity* row);
// Moves a row or button by dx.
void MoveX(Entity* entity, float dx);

// A `StencilButton` of panel's state, 30 by 30 pixels at (x, 0.45), showing
// and reporting label, with its tool tip; panel is its master. Null while the
// button type is not registered.
Object* MakeButton(Entity* panel, float x, const char* label, const char* toolTip);

}  // namespace FunctionRows
