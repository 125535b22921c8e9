#pragma once
// "BrushTool": paints (left button) or erases (right button) every cell the
// cursor passes over, one undoable step per stroke from press to release, and
// places the level start when the start is the selected value. The editor
// grid raises its "Behavior" with (tool, grid); it never runs by itself.
#include "framework/Action.h"
#include "framework/ObjectTemplate.h"
#include "framework/Vector.h"

namespace ObjectData::BrushTool {

struct Variables {
    bool makingline = false;
    D3DXVECTOR2 oldPos{-1.0f, -1.0f};
    D3DXVECTOR2 curPos{-1.0f, -1.0f};
    Action* lineAction = nullptr;  // the open stroke's step, owned until it is pushed

    Variables() = default;
    Variables(const Variables& other) = default;
    Variables& operator=(const Variables&) = delete;
    ~Variables() { delete lineAction; }
};

using _DATA = ObjectTemplate::Data<Variables>;

void _Init(Object*& slot);

void Behavior(Entity* self, Entity* grid);
// The button that began the stroke came up with the cursor off the grid.
void EndStroke(Entity* self, Entity* grid);
// The cursor is off the grid while the stroke's button is held: the stroke
// goes on from where the cursor comes back.
void LeftGrid(Entity* self, Entity* grid);

}  // namespace ObjectData::BrushTool
